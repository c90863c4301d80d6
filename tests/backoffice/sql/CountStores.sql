select count(*) as n
from anmag00f
where agmag=:mag

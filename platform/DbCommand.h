#pragma once

#include "DbConnection.h"

#include <QString>
#include <memory>

// A statement that returns no rows. It is prepared on its first Execute and run again with new
// parameter values on each later one, so a loop of inserts parses its statement once.
class TDbCommand : private TDbClient
{
public:
    TDbCommand(TDbConnection& aConnection, const QString& aSql);
    ~TDbCommand() override;

    const QString& CommandText() const { return fText.Sql(); }
    // Seconds the statement may run; 0 keeps the driver's default. Set before the first Execute.
    int CommandTimeout() const { return fCommandTimeout; }
    void SetCommandTimeout(int aSeconds);

    // Returns the number of rows affected (-1 when the engine cannot tell). Raises an Exception
    // with the driver's message when the statement fails.
    int Execute(const TDbParams& aParams = {});

private:
    void ConnectionClosing() override { fPrepared.reset(); }

    TDbSqlText fText;
    int fCommandTimeout = 0;
    std::unique_ptr<TDbPreparedCommand> fPrepared;
};

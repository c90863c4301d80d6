#include "DbCommand.h"

TDbCommand::TDbCommand(TDbConnection& aConnection, const QString& aSql)
    : TDbClient(aConnection), fText(aSql)
{
}

TDbCommand::~TDbCommand() = default;

void TDbCommand::SetCommandTimeout(int aSeconds)
{
    fCommandTimeout = aSeconds;
    fPrepared.reset();
}

int TDbCommand::Execute(const TDbParams& aParams)
{
    std::vector<TDbParam> bindings = TDbStatement::Bind(fText, aParams);
    if (!fPrepared)
        fPrepared = Engine().PrepareCommand(fText, fCommandTimeout);
    return fPrepared->Execute(bindings);
}

#include "db/StatementObserver.h"

namespace tg::db {
namespace {
StatementObserver *installedObserver = nullptr;
}

StatementObserver *StatementObserver::current()
{
    return installedObserver;
}

void StatementObserver::install(StatementObserver *observer)
{
    installedObserver = observer;
}

} // namespace tg::db

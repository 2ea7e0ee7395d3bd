// Whole-record reloads of the parameter record.
#include "ornav72.h"
#include "sysparm.h"
#include <QDebug>

void Ornav72::systemAllParamReload(QByteArray data)
{
    // Empty data is a factory reset; otherwise a checked copy replaces the
    // live record, and a refused copy leaves it untouched. Re-applying the
    // channels follows once the channel layer is part of the program.
    if (!sysparm)
        return;
    if (!sysparm->reloadAll(data))
        qWarning("parameter record refused, live settings kept");
}

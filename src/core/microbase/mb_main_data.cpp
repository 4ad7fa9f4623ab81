#include "core/microbase/mb_main_data.h"

namespace ormica {

QString& DefaultBaseName()
{
    static QString name;
    return name;
}

QString& CurrentBaseName()
{
    static QString name;
    return name;
}

}  // namespace ormica

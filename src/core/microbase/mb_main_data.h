#pragma once

#include <QString>

namespace ormica {

// The full name of the default base, empty when it is unavailable.
QString& DefaultBaseName();
// The full name of the base the database window works with.
QString& CurrentBaseName();

}  // namespace ormica

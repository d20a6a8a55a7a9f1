#pragma once

#include <QString>
#include <initializer_list>

namespace platform::ui {

// The program's string table: every text the user sees is looked up with its
// English wording as the key, so that translations can be added without
// touching the code. Texts that must stay as they are (store names, formats
// with no words) are shown without it.
QString localized(const char* english);

// The same for a format with numbers, e.g. localized("%d paintings") filled in
// with QString::arg after "%d" became "%1": the translated format keeps the
// numbers in whatever order the language needs.
QString localizedFormat(const char* english, std::initializer_list<long long> numbers);

}

#pragma once

#include <QString>

// What a handset shows for the decimal reference "&#N;" of a character that is no pictogram:
// it reads N as a Shift-JIS code, not as the character N names ("&#169;" shows as ｩ). Empty
// when that code is no character.
QString ShownForReference(quint32 value);

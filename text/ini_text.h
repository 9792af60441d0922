#pragma once

#include <QByteArray>
#include <QByteArrayView>
#include <QStringList>

#include <optional>

// The text of an INI file as Qt's settings write it: "[section]" lines, each followed by its
// "key=value" lines. Lines of any other kind, and keys and sections not asked for, are kept.
// A value is kept on its line by backslash escapes: "\n" and "\r" for line breaks, "\\" for
// the backslash, "\x5b" and the like for "[", "=", other control characters and blanks at
// either end. A backslash that starts no such escape is read as it stands.

// The value of `key` in `section`, blanks around it dropped and its escapes undone; nothing
// when the text has none.
std::optional<QByteArray> iniValue(const QByteArray &text, QByteArrayView section,
                                   QByteArrayView key);

// The text with `key` of `section` set to `value`, escaped so that iniValue reads it back byte
// for byte: its line replaced in place, or added after the section's last line, or a new
// section at the end. Every other byte stays as it was; whatever the value holds, no other
// section or key comes of it.
QByteArray withIniValue(const QByteArray &text, QByteArrayView section, QByteArrayView key,
                        const QByteArray &value);

// A list value, its items separated by commas ("1, E15"), quotes around an item dropped: the
// first `count` items only, so a list of any length costs no more than those.
QStringList iniListItems(const QByteArray &value, qsizetype count);
// The items written so; they hold no comma.
QByteArray iniList(const QStringList &items);

// A single value, quotes around it dropped.
QString iniString(QByteArrayView value);

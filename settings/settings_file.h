#pragma once

#include "settings/program_settings.h"
#include "text/ini_text.h"
#include "text/io_error.h"

#include <QByteArray>
#include <QByteArrayView>
#include <QString>

#include <optional>

// The one reader and writer of "mopeco.ini", for the settings kept in it.

QString settingsPath(const QString &programFolder);

// The file's bytes; empty when there is none yet. Throws IoError, naming the file.
QByteArray settingsBytes(const QString &path);

// A key of its own for each project: its path may hold any character a key may not.
QByteArray projectSettingKey(QByteArrayView prefix, const QString &projectFile);

// The setting `take` makes of the value of `key` in `section`; `fallback` when the file has none
// or cannot be read, and then the problem says why.
template <typename Value, typename Take>
SavedSetting<Value> savedSetting(const QString &programFolder, QByteArrayView section,
                                 QByteArrayView key, Value fallback, Take &&take)
{
    try {
        const std::optional<QByteArray> value =
            iniValue(settingsBytes(settingsPath(programFolder)), section, key);
        return {value ? take(*value) : fallback, {}};
    } catch (const IoError &error) {
        return {fallback, QStringLiteral("設定ファイルを読み込めません。前回選んだ機種などは使わず、"
                                         "最初の設定で続けます。\n")
                              + error.message()};
    }
}

// Sets the value, keeping the rest of the file; returns why it could not, empty when it could.
QString saveSetting(const QString &programFolder, QByteArrayView section, QByteArrayView key,
                    const QByteArray &value);

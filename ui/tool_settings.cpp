#include "ui/tool_settings.h"

#include "model/text_reader.h"
#include "model/text_writer.h"

#include <QFileInfo>

namespace {

QString settingsPath(const QString &programFolder)
{
    return programFolder + QStringLiteral("set.dat");
}

} // namespace

void ReadToolSettings(const QByteArray &bytes, ToolSettings &settings)
{
    TextReader reader(bytes);
    settings.FtpProgram = reader.readLine();
    settings.EditorProgram = reader.readLine();
    settings.PaintProgram = reader.readLine();
    settings.HomePage = reader.readLine();
    settings.ReservedText = reader.readLine();
    settings.ReservedNumber1 = reader.readInteger();
    settings.ReservedNumber2 = reader.readInteger();
}

QByteArray WriteToolSettings(const ToolSettings &settings)
{
    TextWriter writer;
    writer.writeLine(settings.FtpProgram);
    writer.writeLine(settings.EditorProgram);
    writer.writeLine(settings.PaintProgram);
    writer.writeLine(settings.HomePage);
    writer.writeLine(settings.ReservedText);
    writer.writeInteger(settings.ReservedNumber1);
    writer.writeInteger(settings.ReservedNumber2);
    return writer.bytes();
}

void ReadToolSettingsFile(const QString &programFolder, ToolSettings &settings)
{
    const QString path = settingsPath(programFolder);
    if (QFileInfo::exists(path))
        ReadToolSettings(readFileBytes(path), settings);
}

void WriteToolSettingsFile(const QString &programFolder, const ToolSettings &settings)
{
    saveFileBytes(settingsPath(programFolder), WriteToolSettings(settings));
}

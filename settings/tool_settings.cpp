#include "settings/tool_settings.h"

#include "text/text_reader.h"
#include "text/text_writer.h"

namespace {

QString settingsPath(const QString &programFolder)
{
    return programFolder + QStringLiteral("set.dat");
}

} // namespace

void ReadToolSettings(const QByteArray &bytes, ToolSettings &settings)
{
    TextReader reader(bytes);
    settings.FtpProgram = {reader.readLine(), {}};
    settings.EditorProgram = {reader.readLine(), {}};
    settings.PaintProgram = {reader.readLine(), {}};
    settings.HomePage = reader.readLine();
    settings.ReservedText = reader.readLine();
    settings.ReservedNumber1 = reader.readInteger();
    settings.ReservedNumber2 = reader.readInteger();
}

QByteArray WriteToolSettings(const ToolSettings &settings)
{
    TextWriter writer;
    writer.writeLine(settings.FtpProgram.bytes);
    writer.writeLine(settings.EditorProgram.bytes);
    writer.writeLine(settings.PaintProgram.bytes);
    writer.writeLine(settings.HomePage);
    writer.writeLine(settings.ReservedText);
    writer.writeInteger(settings.ReservedNumber1);
    writer.writeInteger(settings.ReservedNumber2);
    return writer.bytes();
}

void ReadToolSettingsFile(const QString &programFolder, ToolSettings &settings)
{
    const QString path = settingsPath(programFolder);
    if (isRegularFile(path))
        parseFile(path, [&](const QByteArray &bytes) { ReadToolSettings(bytes, settings); });
}

void WriteToolSettingsFile(const QString &programFolder, const ToolSettings &settings)
{
    saveFileBytes(settingsPath(programFolder), WriteToolSettings(settings));
}

#include "ui/launchers.h"

#include "model/sjis.h"
#include "ui/tool_settings.h"

#include <QStandardPaths>
#include <QStringList>

namespace {

QString firstOnPath(const QStringList &programs)
{
    for (const QString &program : programs)
        if (!QStandardPaths::findExecutable(program).isEmpty())
            return program;
    return {};
}

QString storedOr(const QByteArray &stored, const QString &standIn)
{
    return stored.isEmpty() ? standIn : sjis::toUnicode(stored);
}

} // namespace

QString ftpCommandLine(const ToolSettings &settings)
{
    return sjis::toUnicode(settings.FtpProgram);
}

QString editorCommandLine(const ToolSettings &settings)
{
#ifdef Q_OS_WIN
    return storedOr(settings.EditorProgram, QStringLiteral("Notepad.exe"));
#else
    return storedOr(settings.EditorProgram,
                    firstOnPath({"gnome-text-editor", "gedit", "kate", "kwrite", "mousepad",
                                 "pluma", "xed", "featherpad", "leafpad"}));
#endif
}

QString paintCommandLine(const ToolSettings &settings)
{
#ifdef Q_OS_WIN
    return storedOr(settings.PaintProgram, QStringLiteral("PBRUSH.EXE"));
#else
    return storedOr(settings.PaintProgram,
                    firstOnPath({"pinta", "kolourpaint", "drawing", "mtpaint", "gimp"}));
#endif
}

// Any bytes as "set.dat": a clear message or settings that write and read back the same; as
// "mopeco.ini": any value set is read back whole and changes no other key, a list is read no
// further than asked and a window size stays one a screen can hold; and as work a program
// left for recovery, with its notes: taken back whole, or set aside; and as the record of a
// publish: what is read of it is kept and read back the same.
#include "fuzz_inputs.h"
#include "page/project_file.h"
#include "settings/program_settings.h"
#include "settings/publish_record.h"
#include "settings/recovery_file.h"
#include "settings/tool_settings.h"
#include "text/ini_text.h"
#include "text/io_error.h"
#include "text/text_writer.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include <string_view>
#include <utility>

namespace {

void asIniFile(const QByteArray &text)
{
    if (const std::optional<QByteArray> recent = iniValue(text, "palette", "recent"))
        require(iniListItems(*recent, 16).size() <= 16);
    // Any value comes back as it was written, and no other key changes with it.
    const QByteArray value = text.mid(text.size() / 2);
    const QByteArray changed = withIniValue(text, "check", "handset", value);
    require(iniValue(changed, "check", "handset") == value);
    for (const auto &[section, key] : {std::pair("check", "window"), std::pair("palette", "recent"),
                                       std::pair("folders", "project"), std::pair("qr", "address")})
        require(iniValue(changed, section, key) == iniValue(text, section, key));
}

// The program folder, its files written afresh for each input.
const QString &programFolder()
{
    static QTemporaryDir folder;
    static const QString path = folder.path() + '/';
    return path;
}

void asProgramFolderFiles(const QByteArray &bytes)
{
    const QString &folder = programFolder();
    saveFileBytes(folder + "mopeco.ini", bytes);
    const QSize size = SavedCheckWindowSize(folder).value;
    require(size.isEmpty() || (size.width() <= 16384 && size.height() <= 16384));
    SavedFolders(folder);
    SavedQrAddress(folder, QStringLiteral("/home/user/cafe.mpk"));

    // The record of a publish, found by the name the program gives it.
    const QString project = QStringLiteral("/home/user/cafe.mpk");
    const QString address = QStringLiteral("ftp://sakura@127.0.0.1/www/");
    SavePublishRecord(folder, project, address, {});
    const QStringList records = QDir(folder).entryList({QStringLiteral("published-*.txt")}, QDir::Files);
    require(records.size() == 1);
    saveFileBytes(folder + records.constFirst(), bytes);
    const PublishRecord read = ReadPublishRecord(folder, project, address);
    SavePublishRecord(folder, project, address, read);
    const PublishRecord again = ReadPublishRecord(folder, project, address);
    require(again.files == read.files && again.parts == read.parts);

    // Work a program left: as it kept it, cut short of what its notes say, and under a name
    // of old beside notes of any bytes. Only whole work is taken back.
    const auto isProject = [](const QByteArray &read) {
        return ReadProjectFile(read, PageProject()).has_value();
    };
    const RecoveryFile own(folder, QStringLiteral("mpk"), folder);
    for (const char *left : {"kept", "cut", "any notes"}) {
        QString work = folder + "recovery-1.mpk";
        if (left == std::string_view("any notes")) {
            saveFileBytes(work, bytes);
            saveFileBytes(work + ".ini", bytes);
        } else {
            RecoveryFile earlier(folder, QStringLiteral("mpk"), folder);
            earlier.keep(bytes, {});
            work = earlier.path();
            if (left == std::string_view("cut"))
                QFile::resize(work, bytes.size() / 2);
        }
        const LeftWorkFound found = FindLeftWork(own, isProject);
        require(!found.work || (found.work->work == bytes && found.work->path == work));
        require(!found.work || left != std::string_view("cut") || bytes.isEmpty());
        if (found.work)
            ForgetLeftWork(*found.work);
        for (const QString &file : QDir(folder).entryList({QStringLiteral("*recovery*")}, QDir::Files))
            QFile::remove(folder + file);
    }
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size)
{
    asIniFile(fileBytes(data, size));
    asProgramFolderFiles(fileBytes(data, size));
    ToolSettings settings;
    try {
        ReadToolSettings(fileBytes(data, size), settings);
    } catch (const UserError &) {
        return 0;
    }
    const QByteArray written = WriteToolSettings(settings);
    ToolSettings again;
    ReadToolSettings(written, again);
    require(WriteToolSettings(again) == written);
    return 0;
}

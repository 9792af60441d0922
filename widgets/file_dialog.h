#pragma once

#include "widgets/desktop.h"

#include <QString>

#include <functional>
#include <memory>
#include <optional>

// A named file dialog (SaveDialog1, OpenDialog1, …): its title, its filter in the form
// "説明(*.ext)|*.ext|…", its default extension, and the file used last, which the next opening
// offers again. A name is remembered only once its file was written or read, so a save that
// failed does not offer its name next time.
class FileDialog {
public:
    using Mode = FileRequest::Mode;

    FileDialog(Mode mode, QString title, QString filter, QString defaultExtension);

    // Asks the desktop for a file; nothing when the dialog was cancelled. Nothing is remembered.
    std::optional<QString> ask(Desktop &desktop) const;

    // The file was used: the next opening offers its name, in the folder last used.
    void remember(const QString &path);

    // For a choice that is all there is to do: asks, and remembers what was chosen. True and
    // FileName set when a file was chosen.
    bool execute(Desktop &desktop);

    // Asks for a file and writes what `bytes` makes to it; remembers the name once written.
    // True when it was written.
    bool save(Desktop &desktop, const std::function<QByteArray()> &bytes);

    // Asks for a file and hands its path to `read`; remembers the name once it was read. False
    // when the dialog was cancelled.
    bool open(Desktop &desktop, const std::function<void(const QString &)> &read);

    // The dialog (and those it shares its folder with) starts in `folder` until one is used.
    void startIn(const QString &folder) { *this->folder = folder; }

    // From now on both dialogs start in the folder either of them used last.
    void shareFolderWith(FileDialog &other);

    // What the dialog offers: the last name, in the folder last used.
    QString offeredPath() const;

    // The folder this dialog (or one it shares its folder with) used last; empty before.
    QString lastFolder() const { return *folder; }

    Mode mode;
    QString Title;
    QString Filter;
    QString DefaultExt;
    QString FileName;

private:
    std::shared_ptr<QString> folder = std::make_shared<QString>();
};

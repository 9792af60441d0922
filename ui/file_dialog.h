#pragma once

#include <QString>

class Desktop;

// A named file dialog (SaveDialog1, OpenDialog1, …): its filter in the form
// "説明(*.ext)|*.ext|…", its default extension and the name chosen last, which the next
// opening offers again.
class FileDialog {
public:
    enum class Mode { Open, Save };

    FileDialog(Mode mode, QString filter, QString defaultExtension);

    // Asks the desktop for a file; true and FileName set when one was chosen.
    bool execute(Desktop &desktop);

    Mode mode;
    QString Filter;
    QString DefaultExt;
    QString FileName;
};

// "説明(*.ext)|*.ext|…" as Qt's "説明(*.ext);;…": the descriptions carry the patterns.
QString qtNameFilters(const QString &filter);

#include "windows/version_dialog.h"

#include "drawings/fonts.h"
#include "text/program_folder.h"
#include "widgets/controls.h"
#include "widgets/desktop.h"
#include "widgets/error_guard.h"

#include <QLabel>
#include <QPushButton>

TForm5::TForm5(const QString &programFolder, Desktop &desktop, QWidget *parent)
    : FixedDialog(parent, QStringLiteral("バージョン情報"), {279, 181}),
      programFolder(programFolder),
      desktop(desktop)
{

    Label1 = addLabel(this, 8, 24, QStringLiteral("バージョン情報登録"), Qt::blue);
    Label2 = addLabel(this, 48, 56, applicationTitle());
    Label3 = addLabel(this, 144, 80, QStringLiteral("ver2.14 (2003.5.1)"));
    Button2 = addButton(this, {48, 112, 193, 25}, QStringLiteral("ホームページ"));
    Button1 = addButton(this, {48, 144, 193, 25}, QStringLiteral("閉じる"));
    connectGuarded<TForm5>(this, desktop,
                           {{Button1, &TForm5::Button1Click},
                            {Button2, &TForm5::Button2Click}});
}

void TForm5::Button1Click()
{
    accept();
}

// The program has no web site: its home page is the about page beside it.
void TForm5::Button2Click()
{
    desktop.openForUser(programFilePath(programFolder, "help\\about.html"));
}

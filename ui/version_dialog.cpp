#include "ui/version_dialog.h"

#include "model/fonts.h"
#include "model/program_folder.h"
#include "ui/desktop.h"

#include <QLabel>
#include <QPushButton>

TForm5::TForm5(const QString &programFolder, Desktop &desktop, QWidget *parent)
    : QDialog(parent, Qt::Dialog | Qt::MSWindowsFixedSizeDialogHint | Qt::WindowTitleHint
                          | Qt::WindowCloseButtonHint),
      programFolder(programFolder),
      desktop(desktop)
{
    setModal(true);
    setWindowTitle(QStringLiteral("バージョン情報"));
    setFixedSize(279, 181);
    setFont(fontWithCellHeight(proportionalGothic(), 12));

    const auto label = [this](int left, int top, const QString &text) {
        auto *created = new QLabel(text, this);
        created->move(left, top);
        created->adjustSize();
        return created;
    };
    Label1 = label(8, 24, QStringLiteral("バージョン情報登録"));
    Label1->setStyleSheet(QStringLiteral("color: blue;"));
    Label2 = label(48, 56, applicationTitle());
    Label3 = label(144, 80, QStringLiteral("ver2.14 (2003.5.1)"));
    Button2 = new QPushButton(QStringLiteral("ホームページ"), this);
    Button2->setGeometry(48, 112, 193, 25);
    Button1 = new QPushButton(QStringLiteral("閉じる"), this);
    Button1->setGeometry(48, 144, 193, 25);
    for (QPushButton *button : {Button1, Button2})
        button->setAutoDefault(false);
    connect(Button1, &QPushButton::clicked, this, &TForm5::Button1Click);
    connect(Button2, &QPushButton::clicked, this, &TForm5::Button2Click);
}

void TForm5::Button1Click()
{
    accept();
}

// The program has no web site: its home page is the about page beside it.
void TForm5::Button2Click()
{
    desktop.openWithDefaultHandler(programFilePath(programFolder, "help\\about.html"));
}

#include "windows/qr_code_window.h"

#include "pictures/gif_writer.h"
#include "pictures/qr_code.h"
#include "settings/program_settings.h"
#include "text/sjis.h"
#include "text/text_writer.h"
#include "widgets/controls.h"
#include "widgets/desktop.h"
#include "widgets/error_guard.h"

#include <QBuffer>
#include <QClipboard>
#include <QFileInfo>
#include <QGuiApplication>
#include <QImageWriter>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QSignalBlocker>

#include <algorithm>

namespace {

// The code is drawn within this many pixels a side: large enough for a phone's camera to
// read from the screen, small enough for the window.
constexpr int codeSide = 264;

} // namespace

QrCodeWindow::QrCodeWindow(const QString &programFolder, Desktop &desktop, QWidget *parent)
    : FixedDialog(parent, QStringLiteral("QRコード"), {320, 452}),
      SaveDialog1(FileDialog::Mode::Save, QStringLiteral("QRコードを画像で保存"),
                  QStringLiteral("PNG画像(*.png)|*.png|GIF画像（ページに載せる）(*.gif)|*.gif"),
                  QStringLiteral("png")),
      programFolder(programFolder),
      desktop(desktop)
{
    addLabel(this, 12, 14, QStringLiteral("アドレス"));
    addressEdit = new QLineEdit(this);
    addressEdit->setGeometry(72, 11, 236, 22);
    addressOnly = new QRadioButton(QStringLiteral("アドレスだけ"), this);
    addressOnly->setGeometry(12, 40, 120, 20);
    bookmark = new QRadioButton(QStringLiteral("ブックマーク（タイトル付き）"), this);
    bookmark->setGeometry(132, 40, 180, 20);
    addressOnly->setChecked(true);
    codeView = new QLabel(this);
    codeView->setGeometry(12, 66, 296, 296);
    codeView->setAlignment(Qt::AlignCenter);
    codeView->setAutoFillBackground(true);
    QPalette white = codeView->palette();
    white.setColor(QPalette::Window, Qt::white);
    codeView->setPalette(white);
    codeFacts = new QLabel(this);
    codeFacts->setGeometry(12, 366, 296, 36);
    codeFacts->setWordWrap(true);
    codeFacts->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    saveButton = addButton(this, {12, 414, 96, 25}, QStringLiteral("画像で保存"));
    copyButton = addButton(this, {116, 414, 80, 25}, QStringLiteral("コピー"));
    closeButton = addButton(this, {228, 414, 80, 25}, QStringLiteral("閉じる"));
    setFocusOrder({addressEdit, addressOnly, bookmark, saveButton, copyButton, closeButton});

    connect(addressEdit, &QLineEdit::textChanged, this, &QrCodeWindow::keepOneLine);
    connect(addressOnly, &QRadioButton::toggled, this, &QrCodeWindow::redraw);
    connectGuarded<QrCodeWindow>(this, desktop,
                                 {{saveButton, &QrCodeWindow::saveCode},
                                  {copyButton, &QrCodeWindow::copyCode}});
    connect(closeButton, &QPushButton::clicked, this, &QDialog::accept);
}

void QrCodeWindow::showFor(const QrSubject &page)
{
    subject = page;
    const QString kept = SavedQrAddress(programFolder, subject.projectFile).value;
    addressEdit->setText(kept.isEmpty()
                             ? PageAddress(subject.homePage, QFileInfo(subject.pageFile).fileName())
                             : kept);
    redraw();
    exec();
    const QString address = addressEdit->text().trimmed();
    if (address != kept)
        desktop.showWarningOnce(SaveQrAddress(programFolder, subject.projectFile, address));
}

// A text pasted with line breaks would end in the code at its first line and go whole into
// mopeco.ini: the box keeps the first line and the window says the rest was left out.
void QrCodeWindow::keepOneLine(const QString &address)
{
    const auto lineBreak = std::find_if(address.begin(), address.end(), [](QChar character) {
        return character == u'\n' || character == u'\r' || character == QChar::LineSeparator
               || character == QChar::ParagraphSeparator;
    });
    const qsizetype lineEnd = lineBreak == address.end() ? -1 : lineBreak - address.begin();
    if (lineEnd >= 0) {
        const QSignalBlocker quiet(addressEdit);
        addressEdit->setText(address.left(lineEnd));
    }
    linesLeftOut = lineEnd >= 0;
    redraw();
}

QByteArray QrCodeWindow::text() const
{
    const QByteArray address = sjis::fromUnicodeLine(addressEdit->text().trimmed());
    return bookmark->isChecked() ? BookmarkText(subject.title, address) : address;
}

void QrCodeWindow::redraw()
{
    // A file's name alone leads a phone nowhere: no code is offered for it.
    if (AddressWithoutHost(addressEdit->text())) {
        shownCode = QImage();
        codeView->setPixmap(QPixmap());
        codeFacts->setText(QStringLiteral("アドレスにサーバーの名前がないので、携帯では開けません。「設定」の"
                                          "ホームページに「http://…/」を入れるか、アドレスを書き足してください。"));
        setTextColour(codeFacts, QColor(200, 0, 0));
        saveButton->setEnabled(false);
        copyButton->setEnabled(false);
        return;
    }
    const QByteArray bytes = text();
    const QrSymbol symbol = MakeQrCode(bytes);
    const int across = symbol.modulesAcross + 8; // with the quiet zone
    shownCode = symbol.problem.isEmpty() ? DrawQrCode(symbol, std::max(2, codeSide / across))
                                         : QImage();
    codeView->setPixmap(shownCode.isNull() ? QPixmap() : QPixmap::fromImage(shownCode));
    codeFacts->setText(symbol.problem.isEmpty()
                           ? QStringLiteral("%1 バイト、バージョン %2（%3 × %3 モジュール）。%4")
                                 .arg(bytes.size())
                                 .arg(symbol.version)
                                 .arg(symbol.modulesAcross)
                                 .arg(linesLeftOut
                                          ? QStringLiteral("貼り付けた文の 1 行目だけを使いました。")
                                          : QStringLiteral("505i 以降の機種のカメラで読めます。"))
                           : symbol.problem);
    setTextColour(codeFacts, symbol.problem.isEmpty() ? QColor() : QColor(200, 0, 0));
    saveButton->setEnabled(!shownCode.isNull());
    copyButton->setEnabled(!shownCode.isNull());
}

// A PNG, or a GIF to be put on a page: phones show no PNG.
void QrCodeWindow::saveCode()
{
    const std::optional<QString> chosen = SaveDialog1.ask(desktop);
    if (!chosen)
        return;
    QByteArray bytes;
    if (chosen->endsWith(QLatin1String(".gif"), Qt::CaseInsensitive)) {
        bytes = WriteGif(shownCode); // two colours already
    } else {
        QBuffer buffer(&bytes);
        buffer.open(QIODevice::WriteOnly);
        QImageWriter(&buffer, "png").write(shownCode);
    }
    saveFileBytes(*chosen, bytes);
    SaveDialog1.remember(*chosen);
}

void QrCodeWindow::copyCode()
{
    QGuiApplication::clipboard()->setImage(shownCode);
}

// Any bytes as a direct input of the page: the page check, the renaming of its pictures and the
// phone preview's translation, layout and drawing take it, for every kind of handset, within
// bounded memory and time.
#include "check/page_check.h"
#include "pictures/picture_in_page.h"
#include "preview/phone_preview.h"
#include "fuzz_inputs.h"
#include "drawings/fonts.h"
#include "imode/handsets.h"
#include "page/page_generator.h"
#include "page/page_project.h"
#include "page/pattern.h"

#include <QGuiApplication>
#include <QImage>
#include <QTemporaryDir>

namespace {

// A folder with the pictures a page may name, made once.
const QString &pictureFolder()
{
    static QTemporaryDir folder;
    static const QString path = [] {
        QImage picture(20, 10, QImage::Format_RGB32);
        picture.fill(Qt::red);
        picture.save(folder.filePath(QStringLiteral("ok.gif")), "PNG");
        picture.save(folder.filePath(QStringLiteral("ok.png")));
        return folder.path();
    }();
    return path;
}

} // namespace

// The text engine needs an application.
extern "C" int LLVMFuzzerInitialize(int *argc, char ***argv)
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    static QGuiApplication application(*argc, *argv);
    installFontSubstitutions();
    pictureFolder();
    return 0;
}

// The first byte chooses the handset and how the preview is drawn; the rest is the markup.
extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size)
{
    if (size == 0)
        return 0;
    static const QStringList handsets{"501i", "502i", "503i", "505i", "900i", "SH2101V", "SO505i"};
    const Handset handset = *FindHandset(handsets[data[0] % handsets.size()]);
    const bool wholePage = data[0] & 0x80;
    PageProject page;
    page.Title = "T";
    page.Directs[0] = {fileBytes(data + 1, size - 1), ToggleOn};
    Pattern pattern;
    pattern.Parts[0] = {DirectPart, 1};
    pattern.PartCount = 1;
    const QList<PageLine> lines = GeneratePageLines(page, pattern, 1, {});

    PageFiles files;
    const PageCheckResult result = CheckPage(
        {lines, page, pattern, 1, {}, ImagesInFolder(pictureFolder(), files), handset});
    require(result.pageBytes > 0);

    // Renaming the pictures it names leaves nothing else changed, and no other picture named.
    const QByteArray &markup = page.Directs[0].DirectMarkup;
    require(RenamePictureSources(markup, {}) == markup);
    QHash<QString, QString> names;
    for (const QString &source : LocalPictureSources(lines))
        names.insert(source, QStringLiteral("p.gif"));
    PageProject renamed = page;
    renamed.Directs[0].DirectMarkup = RenamePictureSources(markup, names);
    for (const QString &source : LocalPictureSources(GeneratePageLines(renamed, pattern, 1, {})))
        require(source == QLatin1String("p.gif"));

    PhonePreview phone;
    phone.setPage(lines, handset, pictureFolder());
    const QImage screen = phone.draw(phone.maximumScroll(), 7);
    require(screen.size().isValid() && screen.height() < 2000);
    if (wholePage) {
        const QImage whole = phone.draw(0, 0, PhonePreview::Extent::WholePage);
        require(qint64(whole.width()) * whole.height() <= 20 * 1024 * 1024);
    }
    return 0;
}

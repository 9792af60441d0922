#include "publish/publish_plan.h"

#include "check/findings.h"
#include "pictures/page_pictures.h"
#include "text/io_error.h"
#include "text/text_reader.h"

#include <QCryptographicHash>
#include <QDir>
#include <QFileInfo>

#include <algorithm>

namespace {

bool isPublishablePart(const QString &part)
{
    if (part.isEmpty() || part == QLatin1String(".") || part == QLatin1String(".."))
        return false;
    return std::all_of(part.begin(), part.end(), [](QChar c) {
        return (c >= u'a' && c <= u'z') || (c >= u'0' && c <= u'9') || c == u'-' || c == u'_' || c == u'.';
    });
}

// "画像1・直接入力2", each item once; "ページ" for the page itself.
QString itemsNaming(const PublishSource &source)
{
    if (source.origins.isEmpty())
        return QStringLiteral("ページ");
    QStringList names;
    for (const LineOrigin &origin : source.origins)
        if (const QString name = ItemName(origin); !names.contains(name))
            names << name;
    return names.join(QStringLiteral("・"));
}

} // namespace

bool PublishPlan::ready() const
{
    return std::none_of(files.begin(), files.end(), [](const PlannedFile &file) {
        return file.state == PlannedFile::State::Missing || file.state == PlannedFile::State::Refused;
    });
}

qint64 PublishPlan::bytesToSend() const
{
    qint64 bytes = 0;
    for (const PlannedFile &file : files)
        if (file.state == PlannedFile::State::Send)
            bytes += file.bytes;
    return bytes;
}

bool IsPublishableName(const QString &name)
{
    const QStringList parts = name.split(QLatin1Char('/'));
    return std::all_of(parts.begin(), parts.end(), isPublishablePart);
}

PublishPlan PlanPublish(const QList<PublishSource> &sources,
                        const QHash<QString, PublishedFile> &published)
{
    PublishPlan plan;
    for (const PublishSource &source : sources) {
        PlannedFile file;
        file.name = source.name;
        if (source.bytes)
            file.bytes = source.bytes->size();
        if (!source.fileNamed.isEmpty())
            file.note = QStringLiteral("%1が「%2」と書いていますが、ファイルの名前は「%3」です。"
                                       "サーバーでは大文字と小文字が区別されます。")
                            .arg(itemsNaming(source), source.name, source.fileNamed);
        if (!IsPublishableName(source.name)) {
            file.state = PlannedFile::State::Refused;
            file.problem = QStringLiteral("%1の「%2」は、サーバーに置けない名前です。名前は半角の小文字、"
                                          "数字、「-」「_」「.」だけにしてください。")
                               .arg(itemsNaming(source), source.name);
        } else if (!source.bytes || !source.fileNamed.isEmpty()) {
            file.state = PlannedFile::State::Missing;
            file.problem = QStringLiteral("%1の「%2」のファイルがありません。").arg(itemsNaming(source), source.name);
        } else {
            const auto last = published.constFind(source.name);
            const bool same = last != published.constEnd() && last->size == source.bytes->size()
                              && last->sha256 == QCryptographicHash::hash(*source.bytes, QCryptographicHash::Sha256);
            file.state = same ? PlannedFile::State::Same : PlannedFile::State::Send;
        }
        plan.files.append(file);
    }
    // The pictures first, the page last, whatever order they came in.
    std::stable_partition(plan.files.begin(), plan.files.end(), [&](const PlannedFile &file) {
        const auto source = std::find_if(sources.begin(), sources.end(),
                                         [&](const PublishSource &s) { return s.name == file.name; });
        return source != sources.end() && !source->origins.isEmpty();
    });
    return plan;
}

QList<PublishSource> GatherPublishSources(const QString &pageName, const QByteArray &pageBytes,
                                          const QList<PageLine> &lines, const QString &pictureFolder)
{
    QList<PublishSource> sources;
    for (const PagePicture &picture : PagePictures(lines, pictureFolder)) {
        PublishSource source{picture.source, picture.origins, std::nullopt, {}};
        if (!picture.path.isEmpty() && isRegularFile(picture.path)) {
            try {
                source.bytes = readFileBytes(picture.path);
            } catch (const IoError &) {
                // Unreadable is missing to the server.
            }
        } else if (!picture.path.isEmpty()) {
            const QFileInfo wanted(picture.path);
            for (const QString &entry : wanted.dir().entryList(QDir::Files))
                if (entry.compare(wanted.fileName(), Qt::CaseInsensitive) == 0)
                    source.fileNamed = entry;
        }
        sources.append(source);
    }
    sources.append({pageName, {}, pageBytes, {}});
    return sources;
}

QString PlannedStateText(PlannedFile::State state)
{
    switch (state) {
    case PlannedFile::State::Send:
        return QStringLiteral("送る");
    case PlannedFile::State::Same:
        return QStringLiteral("同じ");
    case PlannedFile::State::Missing:
        return QStringLiteral("ない");
    case PlannedFile::State::Refused:
        return QStringLiteral("送れない名前");
    }
    return {};
}

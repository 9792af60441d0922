#include "publish/publish_preparation.h"

#include "page/page_as_written.h"

#include <QCryptographicHash>
#include <QFileInfo>

namespace {

PublishedFile heldAs(const QByteArray &bytes)
{
    return {bytes.size(), QCryptographicHash::hash(bytes, QCryptographicHash::Sha256)};
}

const PublishSource *sourceNamed(const QList<PublishSource> &sources, const QString &name)
{
    for (const PublishSource &source : sources)
        if (source.name == name)
            return &source;
    return nullptr;
}

} // namespace

PublishPreparation PreparePublish(const PageProject &page, const PageLocation &location, const Pattern &pattern,
                                  const QString &pageName, const PublishRecord &published)
{
    PublishPreparation preparation;
    preparation.published = published;
    BodyFiles bodies;
    const PageNow now = PageAsWrittenNow(page, location, pattern, pattern.PartCount, bodies);
    if (now.bodyError) {
        preparation.problem = QStringLiteral("本文のファイルが読めません（%1）。").arg(now.bodyError->explained());
        return preparation;
    }
    preparation.sources = GatherPublishSources(pageName, now.bytes(), now.lines, now.pictureFolder);
    preparation.plan = PlanPublish(preparation.sources, published.files);
    return preparation;
}

QList<FileToSend> PublishPreparation::filesToSend() const
{
    QList<FileToSend> files;
    for (const PlannedFile &file : plan.files) {
        const PublishSource *source = sourceNamed(sources, file.name);
        if (file.state != PlannedFile::State::Send || !source || !source->bytes)
            continue;
        const QByteArray &bytes = *source->bytes;
        files.append({file.name, bytes, published.parts.value(file.name) == heldAs(bytes).sha256});
    }
    return files;
}

PublishRecord PublishPreparation::recordAfter(const SendingOutcome &outcome) const
{
    PublishRecord kept = published;
    const auto held = [this](const QString &name) {
        const PublishSource *source = sourceNamed(sources, name);
        return source && source->bytes ? heldAs(*source->bytes) : PublishedFile();
    };
    for (const SentFile &file : outcome.files) {
        kept.parts.remove(file.name);
        if (file.sent) {
            kept.files.insert(file.name, held(file.name));
            continue;
        }
        kept.files.remove(file.name);
        if (file.partLeft)
            kept.parts.insert(file.name, held(file.name).sha256);
    }
    for (const PlannedFile &file : plan.files)
        if (file.state == PlannedFile::State::Same)
            kept.files.insert(file.name, held(file.name));
    return kept;
}

QString PublishedPageName(const QString &projectFile)
{
    return QFileInfo(projectFile).completeBaseName() + QStringLiteral(".html");
}

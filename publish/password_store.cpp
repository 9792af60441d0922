#include "publish/password_store.h"

#include <qt6keychain/keychain.h>

#include <QEventLoop>

namespace {

const QString service = QStringLiteral("mopeco");

// Runs the job to its end and says how it ended.
QKeychain::Error finish(QKeychain::Job &job, const QString &destinationAddress)
{
    job.setAutoDelete(false);
    // The address names the account; "mopeco" alone would be every destination's.
    job.setKey(destinationAddress);
    QEventLoop waiting;
    QObject::connect(&job, &QKeychain::Job::finished, &waiting, &QEventLoop::quit);
    job.start();
    waiting.exec();
    return job.error();
}

QString storeProblem(const QKeychain::Job &job)
{
    return QStringLiteral("パスワードの保管場所（キーリング）を使えません（%1）。").arg(job.errorString());
}

} // namespace

StoredPassword ReadStoredPassword(const QString &destinationAddress)
{
    QKeychain::ReadPasswordJob job(service);
    switch (finish(job, destinationAddress)) {
    case QKeychain::NoError:
        return {job.textData(), {}};
    case QKeychain::EntryNotFound:
        return {std::nullopt, {}};
    default:
        return {std::nullopt, storeProblem(job)};
    }
}

QString StorePassword(const QString &destinationAddress, const QString &password)
{
    QKeychain::WritePasswordJob job(service);
    job.setTextData(password);
    return finish(job, destinationAddress) == QKeychain::NoError ? QString() : storeProblem(job);
}

QString ForgetStoredPassword(const QString &destinationAddress)
{
    QKeychain::DeletePasswordJob job(service);
    const QKeychain::Error error = finish(job, destinationAddress);
    return error == QKeychain::NoError || error == QKeychain::EntryNotFound ? QString() : storeProblem(job);
}

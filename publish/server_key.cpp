#include "publish/server_key.h"

#include <QCryptographicHash>

namespace {

constexpr QLatin1StringView fingerprintStart("SHA256:");
constexpr int sha256Bytes = 32;

// One element of DER: its tag, and where its contents and the whole of it lie.
struct Element {
    quint8 tag = 0;
    qsizetype start = 0;    // of the tag
    qsizetype contents = 0; // of the contents
    qsizetype end = 0;      // just after the contents
};

// The element at `at`, read within `end`; nothing where the bytes do not hold a whole one.
std::optional<Element> elementAt(QByteArrayView der, qsizetype at, qsizetype end)
{
    if (at + 2 > end)
        return std::nullopt;
    Element element{quint8(der[at]), at, 0, 0};
    qsizetype length = quint8(der[at + 1]);
    qsizetype contents = at + 2;
    if (length & 0x80) {
        const int lengthBytes = int(length & 0x7f);
        // Four bytes of length are far more than any certificate needs.
        if (lengthBytes == 0 || lengthBytes > 4 || contents + lengthBytes > end)
            return std::nullopt;
        length = 0;
        for (int i = 0; i < lengthBytes; ++i)
            length = (length << 8) | quint8(der[contents++]);
    }
    if (length > end - contents)
        return std::nullopt;
    element.contents = contents;
    element.end = contents + length;
    return element;
}

constexpr quint8 sequenceTag = 0x30;
constexpr quint8 versionTag = 0xa0; // [0] EXPLICIT

QByteArray derOf(QByteArrayView certificate)
{
    constexpr QByteArrayView pemStart("-----BEGIN CERTIFICATE-----");
    constexpr QByteArrayView pemEnd("-----END CERTIFICATE-----");
    const qsizetype begin = certificate.indexOf(pemStart);
    if (begin < 0)
        return certificate.toByteArray();
    const qsizetype from = begin + pemStart.size();
    const qsizetype to = certificate.indexOf(pemEnd, from);
    if (to < 0)
        return {};
    return QByteArray::fromBase64(certificate.sliced(from, to - from).toByteArray());
}

} // namespace

QString KeyFingerprint(QByteArrayView publicKey)
{
    const QByteArray hash = QCryptographicHash::hash(publicKey, QCryptographicHash::Sha256);
    return fingerprintStart
           + QString::fromLatin1(hash.toBase64(QByteArray::Base64Encoding | QByteArray::OmitTrailingEquals));
}

std::optional<QString> ReadKeyFingerprint(const QString &typed)
{
    QString text = typed.trimmed();
    if (text.startsWith(fingerprintStart, Qt::CaseInsensitive))
        text = text.sliced(fingerprintStart.size());
    else if (text.startsWith(QLatin1StringView("sha256//"), Qt::CaseInsensitive))
        text = text.sliced(8);
    while (text.endsWith(QLatin1Char('=')))
        text.chop(1);
    const QByteArray base64 = text.toLatin1();
    const auto decoded = QByteArray::fromBase64Encoding(base64, QByteArray::AbortOnBase64DecodingErrors);
    if (text.isEmpty() || base64.size() != text.size() || !decoded || decoded.decoded.size() != sha256Bytes)
        return std::nullopt;
    return fingerprintStart
           + QString::fromLatin1(decoded.decoded.toBase64(QByteArray::Base64Encoding | QByteArray::OmitTrailingEquals));
}

std::optional<QByteArray> CertificatePublicKey(QByteArrayView certificate)
{
    const QByteArray der = derOf(certificate);
    const auto whole = elementAt(der, 0, der.size());
    if (!whole || whole->tag != sequenceTag)
        return std::nullopt;
    const auto signedPart = elementAt(der, whole->contents, whole->end);
    if (!signedPart || signedPart->tag != sequenceTag)
        return std::nullopt;
    // The version (when there), serial number, signature algorithm, issuer, validity and
    // subject come before the key.
    qsizetype at = signedPart->contents;
    auto field = elementAt(der, at, signedPart->end);
    if (field && field->tag == versionTag)
        field = elementAt(der, field->end, signedPart->end);
    for (int skipped = 0; skipped < 5 && field; ++skipped)
        field = elementAt(der, field->end, signedPart->end);
    if (!field || field->tag != sequenceTag)
        return std::nullopt;
    return der.sliced(field->start, field->end - field->start);
}

QByteArray PinnedKeyOption(const QString &fingerprint)
{
    const auto read = ReadKeyFingerprint(fingerprint);
    if (!read)
        return {};
    return "sha256//" + QByteArray::fromBase64(read->sliced(fingerprintStart.size()).toLatin1()).toBase64();
}

#pragma once

#include <QByteArray>
#include <QByteArrayView>
#include <QString>

#include <optional>

// A server proves who it is by its public key: an SSH server's host key, or the key in an FTPS
// server's certificate. The user trusts a key by its fingerprint, "SHA256:" and the base64 of
// the key's SHA-256 without its "=" padding, as the SSH tools show it.

// The fingerprint of a key: an SSH host key as the server sends it, or a certificate's
// SubjectPublicKeyInfo in DER.
QString KeyFingerprint(QByteArrayView publicKey);

// The fingerprint a user typed or pasted: "SHA256:…", or the base64 alone, with or without its
// padding. Nothing when it is no SHA-256 fingerprint.
std::optional<QString> ReadKeyFingerprint(const QString &typed);

// The public key (SubjectPublicKeyInfo, in DER) of an X.509 certificate in DER or PEM; nothing
// when the bytes are no certificate.
std::optional<QByteArray> CertificatePublicKey(QByteArrayView certificate);

// The form libcurl pins a certificate's key in: "sha256//" and the base64 with its padding.
QByteArray PinnedKeyOption(const QString &fingerprint);

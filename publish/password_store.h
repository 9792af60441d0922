#pragma once

#include <QString>

#include <optional>

// The passwords of destinations in the desktop's secret store (the keyring of the desktop's
// secret service, or its wallet), never in a file of the program. Each waits for the store's
// answer, which may take the user's unlocking of it.

struct StoredPassword {
    std::optional<QString> password; // nothing when none is kept, or the store cannot be reached
    QString problem;                 // in Japanese, when the store could not be asked
};

StoredPassword ReadStoredPassword(const QString &destinationAddress);

// Each returns why it could not, empty when it could.
[[nodiscard]] QString StorePassword(const QString &destinationAddress, const QString &password);
[[nodiscard]] QString ForgetStoredPassword(const QString &destinationAddress);

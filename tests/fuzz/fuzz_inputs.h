#pragma once

#include <QByteArray>

#include <cstddef>
#include <cstdint>
#include <cstdlib>

// The fuzzer's input as the bytes of a file.
inline QByteArray fileBytes(const std::uint8_t *data, std::size_t size)
{
    return QByteArray(reinterpret_cast<const char *>(data), static_cast<qsizetype>(size));
}

// A broken promise of a reader: stop, so the fuzzer keeps the input.
inline void require(bool condition)
{
    if (!condition)
        std::abort();
}

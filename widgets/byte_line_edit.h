#pragma once

#include <QByteArray>
#include <QLineEdit>

// A single-line edit of a stored Shift-JIS text. A text the user leaves as it was shown comes
// back byte for byte, even bytes that are not Shift-JIS or that would convert back to other
// bytes; a changed text comes back as typed, up to its first line break.
class ByteLineEdit : public QLineEdit {
    Q_OBJECT

public:
    explicit ByteLineEdit(QWidget *parent = nullptr);

    void setBytes(const QByteArray &bytes);
    QByteArray bytes() const;

private:
    QByteArray shownBytes;
};

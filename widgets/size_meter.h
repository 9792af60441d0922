#pragma once

#include <QAbstractButton>

// A small meter of a size against a limit, such as "3.2 / 10 KB": a bar that fills as the size
// grows, drawn in the usual colour, orange near the limit and red past it. It is a button, so
// a click can open what the figure comes from.
class SizeMeter : public QAbstractButton {
    Q_OBJECT

public:
    enum class Level { Fits, Near, Over };

    explicit SizeMeter(QWidget *parent = nullptr);

    // The size and the limit in bytes, and the text to show on the bar.
    void setMeasure(qint64 size, qint64 limit, const QString &text);

    Level level() const;

protected:
    void paintEvent(QPaintEvent *event) override;

private:
    qint64 size = 0;
    qint64 limit = 1;
};

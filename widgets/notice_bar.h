#pragma once

#include <QFrame>
#include <QList>
#include <QString>
#include <QTimer>

#include <functional>

class QLabel;

// A notice in free space of a window: one line of text and up to a few actions as links. It
// covers no control, asks nothing and stops nothing; it leaves when one of its actions is used
// or when it is dismissed.
class NoticeBar : public QFrame {
    Q_OBJECT

public:
    struct Action {
        QString caption;
        std::function<void()> act;
    };

    NoticeBar(QWidget *parent, const QRect &place);

    // Shows `text` with its actions, in place of any notice shown before. A text too long for
    // the line is cut, and shown whole as the tool tip.
    void showNotice(const QString &text, const QList<Action> &actions = {});

    // Shows `text` for a few seconds, then takes it away, unless another notice took its place.
    void showBriefly(const QString &text);

    // Takes the notice away; nothing when none is shown.
    void dismiss();

    // The notice shown, and its actions' captions; empty when none is shown.
    QString text() const;
    QStringList captions() const;

    // Uses the action of that caption, as a click on its link does.
    void use(const QString &caption);

private:
    QLabel *textLabel;
    QLabel *linksLabel;
    QString shownText;
    QList<Action> actions;
    QTimer leaving; // a brief notice leaves by itself
};

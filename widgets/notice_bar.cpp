#include "widgets/notice_bar.h"

#include <QHBoxLayout>
#include <QLabel>

NoticeBar::NoticeBar(QWidget *parent, const QRect &place) : QFrame(parent)
{
    setGeometry(place);
    setFrameShape(QFrame::StyledPanel);
    setAutoFillBackground(true);
    QPalette colours = palette();
    colours.setColor(QPalette::Window, QColor(255, 246, 200));
    setPalette(colours);
    textLabel = new QLabel(this);
    linksLabel = new QLabel(this);
    linksLabel->setTextInteractionFlags(Qt::LinksAccessibleByMouse | Qt::LinksAccessibleByKeyboard);
    auto *layout = new QHBoxLayout(this);
    layout->setContentsMargins(6, 0, 6, 0);
    layout->setSpacing(12);
    layout->addWidget(textLabel, 1);
    layout->addWidget(linksLabel);
    connect(linksLabel, &QLabel::linkActivated, this,
            [this](const QString &link) { use(actions.value(link.toInt()).caption); });
    leaving.setSingleShot(true);
    leaving.setInterval(4000);
    connect(&leaving, &QTimer::timeout, this, &NoticeBar::dismiss);
    hide();
}

void NoticeBar::showBriefly(const QString &text)
{
    showNotice(text);
    leaving.start();
}

void NoticeBar::showNotice(const QString &text, const QList<Action> &newActions)
{
    leaving.stop();
    shownText = text;
    actions = newActions;
    QStringList links;
    for (qsizetype index = 0; index < actions.size(); ++index)
        links << QStringLiteral("<a href=\"%1\">%2</a>").arg(index).arg(actions[index].caption.toHtmlEscaped());
    linksLabel->setText(links.join(QStringLiteral("&nbsp;&nbsp;")));
    // The links keep their room; the text takes what is left.
    const int room = width() - 12 - (actions.isEmpty() ? 0 : linksLabel->sizeHint().width() + 12);
    const QString line = text.section(QLatin1Char('\n'), 0, 0);
    textLabel->setText(textLabel->fontMetrics().elidedText(line, Qt::ElideRight, std::max(room, 0)));
    setToolTip(textLabel->text() == text ? QString() : text);
    show();
    raise();
}

void NoticeBar::dismiss()
{
    leaving.stop();
    shownText.clear();
    actions.clear();
    hide();
}

QString NoticeBar::text() const
{
    return shownText;
}

QStringList NoticeBar::captions() const
{
    QStringList captions;
    for (const Action &action : actions)
        captions << action.caption;
    return captions;
}

void NoticeBar::use(const QString &caption)
{
    for (const Action &action : actions)
        if (action.caption == caption) {
            // The action may show another notice: this one leaves first.
            const std::function<void()> act = action.act;
            dismiss();
            if (act)
                act();
            return;
        }
}

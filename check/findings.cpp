#include "check/findings.h"

using Item = LineOrigin::Item;

QString SeverityText(Severity severity)
{
    switch (severity) {
    case Severity::Error:
        return QStringLiteral("エラー");
    case Severity::Warning:
        return QStringLiteral("警告");
    case Severity::Notice:
        break;
    }
    return QStringLiteral("お知らせ");
}

QString ItemName(const Finding &finding)
{
    return finding.wholePage ? QStringLiteral("ページ") : ItemName(finding.origin);
}

QString ItemName(const LineOrigin &origin)
{
    const int n = origin.number;
    switch (origin.item) {
    case Item::Title:
        return QStringLiteral("タイトル");
    case Item::Colours:
        return QStringLiteral("基本設定");
    case Item::Body:
        return n > 0 ? QStringLiteral("本文 %1行目").arg(n) : QStringLiteral("本文");
    case Item::Image:
        return QStringLiteral("画像%1").arg(n);
    case Item::Text:
        return QStringLiteral("テキスト %1").arg(n);
    case Item::Link:
        return QStringLiteral("リンク%1").arg(n);
    case Item::Direct:
        return QStringLiteral("直接入力%1").arg(n);
    case Item::Separator:
        return QStringLiteral("区切り線");
    case Item::Comment:
    case Item::End:
        break;
    }
    return QStringLiteral("ページ");
}

void Findings::add(Severity severity, FindingKind kind, const LineOrigin &origin,
                   const QString &subject, const QString &message)
{
    Finding finding{severity, kind, origin, false, subject, message};
    const QString key = ItemName(finding) + message;
    if (said.contains(key))
        return;
    said.insert(key);
    list.append(std::move(finding));
}

void Findings::addForPage(Severity severity, FindingKind kind, const QString &subject,
                          const QString &message)
{
    list.append({severity, kind, {}, true, subject, message});
}

void Findings::putFirst(Severity severity, FindingKind kind, const QString &subject,
                        const QString &message)
{
    list.prepend({severity, kind, {}, true, subject, message});
}

QString HandsetText(const Handset &handset)
{
    return QStringLiteral("%1（HTML %2）").arg(handset.name, HtmlVersionText(handset.htmlVersion));
}

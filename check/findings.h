#pragma once

#include "generator/page_generator.h"
#include "model/handsets.h"

#include <QList>
#include <QSet>
#include <QString>

enum class Severity { Error, Warning, Notice };

// "エラー", "警告" or "お知らせ".
QString SeverityText(Severity severity);

// One thing the check found, with the item of the page it belongs to.
struct Finding {
    Severity severity = Severity::Notice;
    LineOrigin origin;
    bool wholePage = false; // it belongs to the page as a whole, not to one item
    QString message;
};

// The item a finding names: "タイトル", "本文 12行目", "画像2", "テキスト 3", "リンク4",
// "直接入力1", "区切り線", "基本設定" or "ページ".
QString ItemName(const Finding &finding);

// The findings of one check, in the order they were found; each is said once for its item.
class Findings {
public:
    void add(Severity severity, const LineOrigin &origin, const QString &message);
    void addForPage(Severity severity, const QString &message);
    // A finding about the whole page that goes before all others.
    void putFirst(Severity severity, const QString &message);

    QList<Finding> list;

private:
    QSet<QString> said;
};

// "501i（HTML 1.0）", as the findings name the handset.
QString HandsetText(const Handset &handset);

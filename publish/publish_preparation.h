#pragma once

#include "page/page_project.h"
#include "page/pattern.h"
#include "publish/publish_plan.h"
#include "publish/publish_transfer.h"
#include "settings/publish_record.h"

#include <QList>
#include <QString>

// The page as "HTML保存" writes it and its pictures, planned against what the last publish to
// the destination left there: what the publish window shows and "--publish" prints.
struct PublishPreparation {
    QString problem; // the body file cannot be read: there is nothing to send
    QList<PublishSource> sources;
    PublishPlan plan;
    PublishRecord published;

    // The files the plan sends, in its order; one whose sending broke off goes on from its part.
    QList<FileToSend> filesToSend() const;

    // The record once the sending ended so: what went and what was the same is held by the
    // server; a file that failed is no longer known there, and a part it left goes on next time.
    PublishRecord recordAfter(const SendingOutcome &outcome) const;
};

// The page is named `pageName` on the server.
PublishPreparation PreparePublish(const PageProject &page, const PageLocation &location, const Pattern &pattern,
                                  const QString &pageName, const PublishRecord &published);

// The name "--publish" and the publish window give the page: the project's own ("shop.html").
QString PublishedPageName(const QString &projectFile);

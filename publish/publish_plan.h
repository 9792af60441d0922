#pragma once

#include "page/page_generator.h"
#include "settings/publish_record.h"

#include <QByteArray>
#include <QHash>
#include <QList>
#include <QString>

#include <optional>

// A file of the page's site as it is about to be published: the page, or a picture it names.
struct PublishSource {
    QString name;              // as the page names it; the page's own file name for the page
    QList<LineOrigin> origins; // the items naming it; empty for the page itself
    std::optional<QByteArray> bytes; // nothing when no file of that name is there
    // The file's own name where only a name differing in case is there ("Logo.GIF" for
    // "logo.gif"); empty otherwise.
    QString fileNamed;
};

// One file of the plan, in the order it is sent: the pictures before the page naming them,
// so that a publish broken off never leaves a new page without its pictures.
struct PlannedFile {
    enum class State {
        Send,    // new, or its bytes changed since the last publish
        Same,    // the server holds these bytes already
        Missing, // the page names it, but there is no such file
        Refused, // its name is one servers and phones do not take as it is
    };
    QString name; // on the server, below the destination's folder
    State state = State::Send;
    qint64 bytes = 0;
    QString problem; // why it is missing or refused, naming the items; empty otherwise
    QString note;    // something to know (the file's name differs in case)
};

// What the plan says of a file, as the window and the command line show it ("送る").
QString PlannedStateText(PlannedFile::State state);

struct PublishPlan {
    QList<PlannedFile> files;

    // Whether it may be sent: nothing missing or refused.
    bool ready() const;
    qint64 bytesToSend() const;
};

// Whether a name may go to the server as it is: half-width lower-case letters, digits, "-",
// "_" and ".", in folders separated by "/"; no part empty, "." or "..", and no "/" first.
bool IsPublishableName(const QString &name);

// The plan for `sources` (the page last) against what the last publish left, by name.
PublishPlan PlanPublish(const QList<PublishSource> &sources,
                        const QHash<QString, PublishedFile> &published);

// The page named `pageName` with `pageBytes`, and every picture of its own site its lines name,
// read from `pictureFolder` (a name matched there only in another case is said so).
QList<PublishSource> GatherPublishSources(const QString &pageName, const QByteArray &pageBytes,
                                          const QList<PageLine> &lines, const QString &pictureFolder);

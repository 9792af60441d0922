#pragma once

#include <QObject>

// Says that the page changed, to whatever shows or measures it. The records stay plain
// structs; every place that changes the page announces it here, once, and nothing polls.
class PageChanges : public QObject {
    Q_OBJECT

public:
    enum class Change {
        Title, // only the title, as while it is typed
        Page,  // anything of the page: an item, the settings, the pattern, a new or opened page
        Folders, // where the page's files lie: the page or its project was saved elsewhere
    };
    Q_ENUM(Change)

    void announce(Change what) { emit changed(what); }

signals:
    void changed(PageChanges::Change what);
};

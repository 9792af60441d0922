#pragma once

#include <QList>
#include <QString>

#include <optional>

// A handset a page is meant for: a model ("SH505i"), or a whole series ("503i") taken as its
// strictest model, so that a page that suits the series suits every model of it.
struct Handset {
    QString name;
    int htmlVersion = 10; // in tenths: 10 is HTML 1.0, 72 is 7.2
    int pageLimitKb = 5;  // the page and its images together; 1 KB is 1,000 bytes
    int screenWidth = 0;  // of the browser, in pixels; 0 when not known
    int screenHeight = 0;
    // Colours of the screen: 2 is black and white, 4 grey levels, then 256, 4096, …; 0 when
    // not known.
    int colourDepth = 0;
    // JPEG came with the 503i generation, though not to every model of it; PNG only with the
    // browser of 2009, after all of these.
    bool jpeg = false;
    bool isSeries = false; // a whole series, taken as its strictest model

    qint64 pageLimitBytes() const { return qint64(pageLimitKb) * 1000; }
    bool showsJpeg() const { return jpeg; }
    bool showsPng() const { return false; }
};

// Every series, then every model, as the handset table holds them.
const QList<Handset> &Handsets();

// The handset of that model or series name; case and blanks do not matter.
std::optional<Handset> FindHandset(const QString &name);

// The handset a page is measured against until the user chooses another.
inline QString DefaultHandsetName() { return QStringLiteral("503i"); }

// An HTML version in tenths as it is written: "1.0", "7.2".
QString HtmlVersionText(int tenths);

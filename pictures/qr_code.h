#pragma once

#include <QByteArray>
#include <QImage>
#include <QList>
#include <QString>

// QR codes as phones read them with their camera from the 505i on: model 2, versions 1 to 10,
// the text in numeric, alphanumeric, 8-bit or Shift-JIS kanji mode.

// A QR code's modules, or why there is none.
struct QrSymbol {
    int version = 0;
    int modulesAcross = 0;
    QList<bool> modules; // row by row, true = dark
    QString problem;     // why no symbol; empty when made
};

// The text's bytes (Shift-JIS where it is Japanese) as a QR code at error correction level M,
// in the smallest version that holds them. The text is made both in 8-bit mode and in the
// modes it falls into with kanji, and the smaller of the two is kept (8-bit when they are of
// one size). An empty text, a text holding a NUL byte and one that version 10 cannot hold
// make no symbol, and the problem says why.
QrSymbol MakeQrCode(const QByteArray &text);

// The symbol drawn black on white, each module `moduleSize` pixels square, in a light quiet
// zone of 4 modules on every side that readers need to find it. The picture is Format_Indexed8
// with white as colour 0 and black as colour 1, so it is written as a small PNG or GIF. A null
// image for a symbol with a problem, for a moduleSize below 1, and for a picture that would be
// more than 32767 pixels across.
QImage DrawQrCode(const QrSymbol &symbol, int moduleSize);

// The bookmark form phones offer to keep when they read it: "MEBKM:TITLE:title;URL:address;;".
// The title is a page title as the page holds it: its pictograms (in either form handsets read)
// and tags are left out and the blanks around it trimmed; when nothing is left, TITLE is left
// out too ("MEBKM:URL:address;;"). In the title and the address each "\", ":", ";" and "," is
// escaped with a backslash, so "http://" reads "http\://". All of it is Shift-JIS.
QByteArray BookmarkText(const QByteArray &title, const QByteArray &address);

// The address of the page `pageFileName` on the home page (the tool settings' address): the
// home page's folder, one "/", the file name. The folder is the home page up to its last "/",
// when it ends in a name with a dot (".../index.html"); else the home page itself, which names
// a folder or the host alone. The file name is written in Shift-JIS, each character beyond
// plain ASCII percent-encoded byte by byte, and so are blanks, "%", "#" and "?". An empty home
// page gives the file name alone, encoded alike.
QString PageAddress(const QByteArray &homePage, const QString &pageFileName);

// Whether `address` is a page's file without the server it is on ("index.html", "/shop/menu.html",
// "../top.html"): a phone that reads it has nowhere to go. An address with a scheme
// ("http://", "mailto:", "tel:"), one that starts with a server's name ("www.example.jp/…") and
// a text that is no address at all are not.
bool AddressWithoutHost(const QString &address);

#pragma once

#include "check/page_check.h"
#include "page/page_project.h"
#include <QByteArray>
#include <QList>
#include <QString>
#include <functional>

// Pages made for the tests of the page check: each Setup puts one thing into a page, and check()
// says what the check finds on it.

// A page to check: the project, the parts of its pattern, its body and its picture files.
struct CheckedPage {
    PageProject project;
    QList<std::pair<int, int>> parts{{3, 1}};
    QList<QByteArray> body;
    BodyFileReading::State bodyFile = BodyFileReading::State::Read;
    QList<std::pair<QString, QByteArray>> images; // in the page's folder
    bool folderKnown = true;
};

using Setup = std::function<void(CheckedPage &)>;

QByteArray gifHeader(int width);

QByteArray encoded(const char *format);

Setup text(const QByteArray &content);

Setup direct(const QByteArray &markup);

Setup image(const QByteArray &bytes);

Setup linkedImage(const QByteArray &target);

Setup link(const QByteArray &target, Toggle mail);

Setup accessKeyLinks(int count);

// The page of `setup` with a link typed into direct input 1, carrying `key`.
Setup withDirect(const Setup &setup, const QByteArray &key);

Setup body(const QList<QByteArray> &lines,
           BodyFileReading::State file = BodyFileReading::State::Read);

// What the check finds on the page `setup` makes, for the named handset.
QList<Finding> check(const Setup &setup, const QString &handsetName);

// A finding as "重さ: 項目: 説明".
QString line(const Finding &finding);

QStringList lines(const QList<Finding> &findings);

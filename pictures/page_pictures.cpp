#include "pictures/page_pictures.h"

#include "check/page_files.h"
#include "pictures/picture_in_page.h"
#include "pictures/picture_structure.h"

#include <algorithm>

namespace {

// A picture that took at least this share of its room (in tenths) may look better with more.
constexpr qint64 filledTenths = 9;
// Less unused room than this is not worth making pictures again.
constexpr qint64 leastRoomWorthSharing = 64;

} // namespace

bool PagePicture::renamable() const
{
    return std::all_of(origins.begin(), origins.end(), CanPutPictureInto);
}

QList<PagePicture> PagePictures(const QList<PageLine> &lines, const QString &pictureFolder)
{
    QList<PagePicture> pictures;
    for (const PageLine &line : lines)
        for (const QString &source : LocalPictureSources({line})) {
            auto known = std::find_if(pictures.begin(), pictures.end(),
                                      [&](const PagePicture &p) { return p.source == source; });
            if (known == pictures.end()) {
                pictures.append({source, {}, PicturePath(pictureFolder, source)});
                known = pictures.end() - 1;
            }
            if (!known->origins.contains(line.origin))
                known->origins.append(line.origin);
        }
    return pictures;
}

PicturesFitted FitPicturesTogether(const QList<PictureToFit> &pictures, qint64 limitBytes,
                                   qint64 pageBytes, const Handset &handset, const QColor &matte,
                                   const std::function<bool(int, int)> &goOn)
{
    PicturesFitted result;
    result.budgets.resize(pictures.size());
    result.fitted.resize(pictures.size());
    qint64 kept = 0;
    QList<qsizetype> converted;
    QList<QSize> areas;
    for (qsizetype index = 0; index < pictures.size(); ++index) {
        if (!pictures[index].convert) {
            kept += pictures[index].keptBytes;
            continue;
        }
        converted.append(index);
        areas.append(ShownPictureSize(ReadPictureStructure(pictures[index].original).size, handset));
    }
    int done = 0;
    int all = int(converted.size());
    const auto make = [&](qsizetype index, qint64 budget) {
        if (goOn && !goOn(done, all)) {
            result.stopped = true;
            return false;
        }
        result.budgets[index] = budget;
        result.fitted[index] = FitPicture(pictures[index].original, handset, budget, matte);
        ++done;
        return true;
    };
    const QList<qint64> shares = SharePictureBudget(limitBytes, pageBytes, kept, areas);
    for (qsizetype at = 0; at < converted.size(); ++at)
        if (!make(converted[at], shares[at]))
            return result;

    // The room left unused, shared by area among the pictures that wanted more.
    qint64 unused = 0;
    QList<qsizetype> wanting;
    QList<QSize> wantingAreas;
    for (qsizetype at = 0; at < converted.size(); ++at) {
        const qsizetype index = converted[at];
        const qint64 used = result.fitted[index].bytes.size();
        if (used == 0 || used * 10 >= result.budgets[index] * filledTenths) {
            wanting.append(index);
            wantingAreas.append(areas[at]);
        } else {
            unused += result.budgets[index] - used;
        }
    }
    if (wanting.isEmpty() || unused < leastRoomWorthSharing)
        return result;
    const QList<qint64> more = SharePictureBudget(unused, 0, 0, wantingAreas);
    all += int(wanting.size());
    for (qsizetype at = 0; at < wanting.size(); ++at)
        if (!make(wanting[at], result.budgets[wanting[at]] + more[at]))
            return result;
    return result;
}

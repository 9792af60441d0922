#include "document/page_history.h"

#include <QUndoCommand>

#include <utility>
#include <vector>

namespace {

// Every text of the page, in the same order for any two pages.
template <typename Page, typename Visit>
void forEachText(Page &page, Visit visit)
{
    for (auto *text : {&page.Title, &page.BackgroundColor, &page.LinkColor, &page.TextColor,
                       &page.SeparatorColor, &page.BodyFile.bytes})
        visit(*text);
    for (auto &image : page.Images) {
        visit(image.ImageUrl);
        visit(image.ImageLinkUrl);
    }
    for (auto &text : page.Texts)
        visit(text.TextContent);
    for (auto &link : page.Links) {
        visit(link.LinkCaption);
        visit(link.LinkTarget);
    }
    for (auto &direct : page.Directs)
        visit(direct.DirectMarkup);
}

qsizetype stepBytes(const PageStep &step)
{
    PageProject after = step.after.page;
    qsizetype bytes = ShareUnchangedTexts(after, step.before.page);
    // A replaced page's work and saved bytes are the step's own.
    if (step.kind == PageStep::Kind::Replace)
        bytes += step.before.savedWork.size() + step.after.savedWork.size();
    return bytes + qsizetype(sizeof(PageStep));
}

} // namespace

qsizetype ShareUnchangedTexts(PageProject &after, const PageProject &before)
{
    std::vector<const QByteArray *> old;
    forEachText(before, [&](const QByteArray &text) { old.push_back(&text); });
    qsizetype bytes = after.BodyFile.chosen == before.BodyFile.chosen
                          ? 0
                          : after.BodyFile.chosen.size() * qsizetype(sizeof(QChar));
    std::size_t index = 0;
    forEachText(after, [&](QByteArray &text) {
        const QByteArray &was = *old[index++];
        if (text.isSharedWith(was))
            return;
        if (text == was)
            text = was;
        else
            bytes += text.size();
    });
    if (bytes == 0 && after.BodyFile.chosen == before.BodyFile.chosen)
        after.BodyFile.chosen = before.BodyFile.chosen;
    return bytes;
}

class PageHistory::Command : public QUndoCommand {
public:
    Command(PageHistory &history, PageStep step)
        : QUndoCommand(step.name), history(history), step(std::move(step)), size(stepBytes(this->step))
    {
    }

    int id() const override { return step.kind == PageStep::Kind::Title ? 1 : -1; }

    bool mergeWith(const QUndoCommand *other) override
    {
        const auto *typed = static_cast<const Command *>(other);
        if (history.rebuilding || typed->step.lastTyped - step.lastTyped > BurstPause)
            return false;
        step.after = typed->step.after;
        step.lastTyped = typed->step.lastTyped;
        size = stepBytes(step);
        return true;
    }

    // The step was done when it was recorded; only a redo after an undo puts it back.
    void redo() override
    {
        if (std::exchange(firstRedo, false) || history.rebuilding)
            return;
        history.restore(step, false);
    }

    void undo() override
    {
        if (!history.rebuilding)
            history.restore(step, true);
    }

    PageHistory &history;
    PageStep step;
    qsizetype size;
    bool firstRedo = true;
};

PageHistory::PageHistory(Restore restore, qsizetype bound, QObject *parent)
    : QObject(parent), restore(std::move(restore)), bound(bound)
{
}

quint64 PageHistory::record(PageStep step)
{
    step.serial = nextSerial++;
    const quint64 serial = step.serial;
    undoStack.push(new Command(*this, std::move(step)));
    keepWithinBound();
    return serial;
}

qsizetype PageHistory::bytes() const
{
    qsizetype total = 0;
    for (int index = 0; index < undoStack.count(); ++index)
        total += static_cast<const Command *>(undoStack.command(index))->size;
    return total;
}

bool PageHistory::canUndo(quint64 serial) const
{
    for (int index = 0; index < undoStack.index(); ++index)
        if (static_cast<const Command *>(undoStack.command(index))->step.serial == serial)
            return true;
    return false;
}

void PageHistory::undoTo(quint64 serial)
{
    for (int index = undoStack.index() - 1; index >= 0; --index)
        if (static_cast<const Command *>(undoStack.command(index))->step.serial == serial) {
            undoStack.setIndex(index);
            return;
        }
}

// A QUndoStack drops its oldest steps only by count: past the bound the newer steps go onto a
// fresh stack, as they stand, changing nothing of the page. Called after a push, when every step
// on the stack is done.
void PageHistory::keepWithinBound()
{
    qsizetype total = bytes();
    if (total <= bound || undoStack.count() < 2)
        return;
    int dropped = 0;
    while (total > bound && dropped < undoStack.count() - 1)
        total -= static_cast<const Command *>(undoStack.command(dropped++))->size;
    std::vector<PageStep> kept;
    for (int index = dropped; index < undoStack.count(); ++index)
        kept.push_back(static_cast<const Command *>(undoStack.command(index))->step);
    const int clean = undoStack.cleanIndex() - dropped;
    rebuilding = true;
    undoStack.clear();
    for (PageStep &step : kept) {
        auto *command = new Command(*this, std::move(step));
        command->firstRedo = false;
        undoStack.push(command);
    }
    if (clean >= 0) {
        undoStack.setIndex(clean);
        undoStack.setClean();
        undoStack.setIndex(undoStack.count());
    } else {
        undoStack.resetClean();
    }
    rebuilding = false;
}

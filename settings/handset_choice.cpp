#include "settings/handset_choice.h"

#include "settings/program_settings.h"

const Handset &HandsetChoice::handset()
{
    if (!read) {
        read = true;
        const SavedSetting<QString> saved = SavedHandsetName(programFolder);
        chosen = *FindHandset(saved.value);
        problem = saved.problem;
    }
    return chosen;
}

QString HandsetChoice::readProblem()
{
    handset();
    return problem;
}

QString HandsetChoice::choose(const QString &name)
{
    const std::optional<Handset> found = FindHandset(name);
    if (!found || found->name == handset().name)
        return {};
    chosen = *found;
    const QString notKept = SaveHandsetName(programFolder, chosen.name);
    emit changed();
    return notKept;
}

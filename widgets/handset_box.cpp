#include "widgets/handset_box.h"

#include "model/handset_choice.h"
#include "widgets/desktop.h"

HandsetBox::HandsetBox(HandsetChoice &choice, Desktop &desktop, QWidget *parent)
    : QComboBox(parent), choice(choice)
{
    setToolTip(QStringLiteral("ページを表示する携帯の機種かシリーズ（503i、SH505i など）"));
    connect(&choice, &HandsetChoice::changed, this, &HandsetBox::showChoice);
    connect(this, &QComboBox::activated, this, [this, &desktop](int index) {
        desktop.showWarningOnce(this->choice.choose(itemText(index)));
        showChoice();
    });
}

void HandsetBox::showChoice()
{
    if (count() == 0) {
        QStringList names;
        for (const Handset &handset : Handsets())
            names << handset.name;
        addItems(names);
    }
    setCurrentText(choice.handset().name);
}

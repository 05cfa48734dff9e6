#include "groupeoptions.h"

#include "focuschamp.h"

#include <QAbstractButton>
#include <QButtonGroup>

GroupeOptions::GroupeOptions(QObject* parent, bool couleursFocus)
    : QObject(parent), groupe_(new QButtonGroup(this)), couleursFocus_(couleursFocus)
{
    groupe_->setExclusive(true);
    connect(groupe_, &QButtonGroup::idClicked, this, &GroupeOptions::clique);
    connect(groupe_, &QButtonGroup::idToggled, this, [this] { majTabulation(); });
}

void GroupeOptions::majTabulation()
{
    // Tab into the group lands on its selected option (on the first one
    // while none is selected), so Space or an arrow there changes nothing.
    const int choisi = groupe_->checkedId();
    for (QAbstractButton* o : groupe_->buttons()) {
        const Qt::FocusPolicy p = o->focusPolicy();
        const bool tab = choisi < 0 || groupe_->id(o) == choisi;
        o->setFocusPolicy(tab ? Qt::FocusPolicy(p | Qt::TabFocus) : Qt::FocusPolicy(p & ~Qt::TabFocus));
    }
}

void GroupeOptions::ajouter(QAbstractButton* option, int index)
{
    option->setCheckable(true);
    groupe_->addButton(option, index);
    if (couleursFocus_) couleursFocusOption(option);
    majTabulation();
}

QAbstractButton* GroupeOptions::option(int index) const
{
    return groupe_->button(index);
}

int GroupeOptions::selection() const
{
    return groupe_->checkedId();
}

void GroupeOptions::clique(int index)
{
    if (index == selection_) return;
    selection_ = index;
    emit Click(index);
}

void GroupeOptions::selectionner(int index)
{
    QAbstractButton* o = option(index);
    if (!o || (o->isChecked() && selection_ == index)) return;
    o->setChecked(true);
    selection_ = index;
    emit Click(index);
}

void GroupeOptions::fixer(int index)
{
    QAbstractButton* o = option(index);
    if (!o) return;
    o->setChecked(true);
    selection_ = index;
}

void GroupeOptions::effacerSelection()
{
    selection_ = -1;
    groupe_->setExclusive(false);
    for (QAbstractButton* o : groupe_->buttons()) o->setChecked(false);
    groupe_->setExclusive(true);
    majTabulation();
}

void selectionnerOption(QAbstractButton* option, const std::function<void()>& Click)
{
    if (!option || option->isChecked()) return;
    option->setChecked(true);
    if (Click) Click();
}

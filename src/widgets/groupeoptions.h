#pragma once
// An option group (an array of option buttons by index). A user's click and
// a selection from code run the same click steps, once; selecting or
// clicking the option already selected runs nothing. Tab into the group
// lands on the selected option. Each option gets the
// option focus colours unless the group is made without them (the options
// then keep the platform's colours).

#include <QObject>

#include <functional>

class QAbstractButton;
class QButtonGroup;

class GroupeOptions : public QObject {
    Q_OBJECT
public:
    explicit GroupeOptions(QObject* parent = nullptr, bool couleursFocus = true);

    void ajouter(QAbstractButton* option, int index);
    QAbstractButton* option(int index) const;
    // Index of the selected option, -1 when none.
    int selection() const;

    // Selects the option from code and runs its click steps.
    void selectionner(int index);
    // Selects the option without running any step (Value set from code
    // where no click is wanted).
    void fixer(int index);
    // Clears the selection without running any step.
    void effacerSelection();

signals:
    void Click(int Index);

private:
    void clique(int index);
    void majTabulation();

    QButtonGroup* groupe_;
    bool couleursFocus_;
    int selection_ = -1;   // the selection whose click steps ran
};

// A lone option selected from code: checks it and runs its click step once,
// nothing when it is already selected.
void selectionnerOption(QAbstractButton* option, const std::function<void()>& Click);

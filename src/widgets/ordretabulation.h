#pragma once
// Tab order in screen order: rows top to bottom, left to right within a
// row. A layout or a container (a frame, an option group's box, a column)
// is one block among its neighbours and its own controls follow one
// another in the same way, so an option group stays whole and Tab into it
// still lands on its selected option.

class QWidget;

// Chains the window's controls (enabled or not, shown or not) in screen
// order, once its pending layouts have run.
void ordonnerTabulation(QWidget* fenetre);

#pragma once
// Shared by the tests of this folder: the program's windows by number and
// their controls by name.
#include "platform/registrefenetres.h"

#include <QApplication>
#include <QWidget>

#include <gtest/gtest.h>

inline QWidget* fenetre(int numero) { return dynamic_cast<QWidget*>(registre().fenetre(numero)); }

inline void evenements()
{
    for (int i = 0; i < 3; ++i) QApplication::processEvents();
}

inline QWidget* nomme(QWidget* w, const char* nom)
{
    QWidget* c = w ? w->findChild<QWidget*>(QLatin1String(nom)) : nullptr;
    EXPECT_TRUE(c) << nom;
    return c;
}

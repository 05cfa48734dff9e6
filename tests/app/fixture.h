#pragma once
// The real main window on the test bench: simulated converter, virtual
// clock, scripted message boxes, settings files in a temporary folder.

#include "app/fondecran.h"
#include "app/passform.h"
#include "model/etat.h"
#include "model/nombres.h"
#include "model/session.h"
#include "platform/plateforme.h"
#include "sim/bancessai.h"

#include <QByteArray>
#include <QDir>
#include <QFile>
#include <QCoreApplication>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTemporaryDir>
#include <QTimer>

#include <gtest/gtest.h>

#include <functional>
#include <memory>

inline QByteArray lireOctets(const QString& chemin)
{
    QFile f(chemin);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

inline void ecrireOctets(const QString& chemin, const QByteArray& octets)
{
    QFile f(chemin);
    ASSERT_TRUE(f.open(QIODevice::WriteOnly | QIODevice::Truncate));
    f.write(octets);
}

// "16," and 26 x "0,".
inline QByteArray iniDefaut()
{
    QByteArray d = "16,";
    for (int i = 0; i < 26; ++i) d += "0,";
    return d;
}

class Appli : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(dossier.isValid());
        definirSeparateurDecimal(u'.');
        banc.port.close();
    }
    void TearDown() override
    {
        f.reset();
        retablirSeparateurDecimal();
    }

    QString chemin(const char* nom) const { return QDir(dossier.path()).filePath(QString::fromLatin1(nom)); }

    // Builds the main window (load step) without showing it.
    void charger() { f = std::make_unique<fondEcran>(banc.port, dossier.path()); }
    // Load, show and first activation (splash, decimal check).
    void demarrer()
    {
        charger();
        f->show();
        banc.horloge.avancer(0.1);
    }
    void allerEnLigne()
    {
        f->onLineChk_->click();
        banc.horloge.avancer(0.05);
    }
    // Runs action inside the next modal loop (the password form).
    void pendantModal(std::function<void()> action) { QTimer::singleShot(0, std::move(action)); }

    // Lines the converter received after the first n.
    QStringList journalDepuis(int n) const { return banc.sim.journal.mid(n); }

    BancEssai banc;
    QTemporaryDir dossier;
    std::unique_ptr<fondEcran> f;
};

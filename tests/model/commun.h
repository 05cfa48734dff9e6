#pragma once
// Fake windows recording what the core writes, and a bench with the tables
// built as at start-up.

#include "model/etat.h"
#include "model/menubgen.h"
#include "model/menuc.h"
#include "model/mesures.h"
#include "model/partitions.h"
#include "model/vues.h"
#include "sim/bancessai.h"

#include <QStringList>

#include <map>
#include <optional>

struct EtatVue {
    bool fenetreVisible = true;
    std::map<QString, QString> textes;
    std::map<QString, bool> actifs;
    std::map<QString, bool> visibles;
    std::map<QString, int> options;   // group -> selected index
    QStringList journal;              // every call, in order
    QStringList statuts;
};

template <class I>
class VueFactice : public I, public EtatVue {
public:
    bool estVisible() const override { return fenetreVisible; }
    void setTexte(const QString& c, const QString& t) override { textes[c] = t; journal << "texte " + c; }
    QString texte(const QString& c) const override
    {
        auto it = textes.find(c);
        return it == textes.end() ? QString() : it->second;
    }
    void setEnabled(const QString& c, bool a) override { actifs[c] = a; journal << "enabled " + c; }
    void setVisible(const QString& c, bool v) override { visibles[c] = v; journal << "visible " + c; }
    void selectionnerOption(const QString& g, int i) override
    {
        options[g] = i;
        journal << "option " + g + QString::number(i);
    }
    bool optionSelectionnee(const QString& g, int i) const override
    {
        auto it = options.find(g);
        return it != options.end() && it->second == i;
    }
    void setTexteStatut(const QString& t) override { statuts << t; }
};

class VueMenuAFactice : public VueFactice<IVueMenuA> {
public:
    void setTabStop(const QString& c, bool a) override { tabStops[c] = a; }
    void setTabIndex(const QString& c, int i) override { tabIndex[c] = i; }
    std::map<QString, bool> tabStops;
    std::map<QString, int> tabIndex;
};

class VueMenuCFactice : public VueFactice<IVueMenuC> {
public:
    void setInfoBulle(const QString& c, const QString& t) override { bulles[c] = t; }
    void setTitre(const QString& t) override { titre = t; }
    std::map<QString, QString> bulles;
    QString titre;
};

// Bench on line with the tables as the main window's load builds them.
struct BancModele : BancEssai {
    BancModele()
    {
        vues() = Vues{};
        initPointsNema(64);
        initPartitionCode();
        initTablesMenuC();
        initTableMenuBGen();
        initDefParamsPartition();
        initCodesMesures();
        nbPartitions = 64;
    }
    ~BancModele() { vues() = Vues{}; }

    // The converter answers `ligne` with `texte` (framed).
    void repondre(const QString& ligne, const QString& texte)
    {
        reponses[ligne] = texte;
        installerScript();
    }
    // The converter falls silent at the n-th time it receives `ligne`.
    void silenceA(const QString& ligne, int fois = 1)
    {
        ligneSilence = ligne;
        foisSilence = fois;
        installerScript();
    }
    void installerScript()
    {
        sim.script = [this](const QString& l) -> std::optional<QByteArray> {
            if (l == ligneSilence && --foisSilence == 0) {
                sim.silence = true;
                return QByteArray();
            }
            if (auto it = reponses.find(l); it != reponses.end()) return ConvertisseurSim::cadrer(it->second);
            return std::nullopt;
        };
    }

    std::map<QString, QString> reponses;
    QString ligneSilence;
    int foisSilence = 0;
};

// Readable QString in test failures.
inline void PrintTo(const QString& s, std::ostream* os) { *os << '"' << s.toStdString() << '"'; }

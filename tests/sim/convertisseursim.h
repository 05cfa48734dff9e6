#pragma once
// The Zelto converter as a model, independent of time and ports: one command
// line in, the raw reply bytes out. PortSimule (virtual clock) and the
// zelto-sim program (pseudo-terminal) put it behind a serial line.
//
// Reply framing: LF CR, the reply text, character 26 ("\n\r12.5\x1a"); the
// program's clean-up starts at the third character and drops LF/CR.
// With `invite` the reply carries the prompt form "\n\r<Zelto>\n\r" text 26.
// A bare line (link test, watchdog probe) answers "\n\r>".
//
// Writes are a key and a value ("$ur410"); the matching read code ("Ur")
// answers the value text as it was written. Codes and keys are
// case-sensitive. Unknown commands answer "?".

#include <QByteArray>
#include <QString>
#include <QStringList>

#include <array>
#include <functional>
#include <map>
#include <optional>
#include <vector>

struct PointUF {
    int u = 0;   // [V]
    int f = 0;   // [Hz]
    bool operator==(const PointUF&) const = default;
};

class ConvertisseurSim {
public:
    ConvertisseurSim();

    // One command line (without its LF): logged, answered.
    QByteArray traiterLigne(const QByteArray& ligne);

    // The framed reply of a reply text (for scripts).
    static QByteArray cadrer(const QString& texte);

    // Every line received, in order ("" for a bare line feed).
    QStringList journal;
    // Working-display and link commands received: "r" "s" "t" "I" "$J"
    // "$F50" "YyY" "yYy" "xXx" "$HES0" "$HST0".
    QStringList commandes;

    // State by read code or write key ("Ur" or "$ur", "IN" or "$in",
    // "NG", "Sn", "VC", "FQ"...). partition 0 = the current partition.
    // Unknown codes give "" and are not stored.
    QString valeur(const QString& code, int partition = 0) const;
    void fixer(const QString& code, const QString& valeur, int partition = 0);

    // Current partition ("NG", "$ng").
    int partition = 1;
    // U/F points of partitions 1 to 64 (entry 0 unused).
    std::array<std::vector<PointUF>, 65> points;
    // "$nm" records received since the last closing record.
    std::vector<PointUF> pointsEnCours;

    // Menu C: relay (0-5) of each "RL" position 1 to 17 (entry i = position i+1).
    std::array<int, 17> relais{};

    // Device data ("LES").
    QString courantMax = "30";
    QString version = "18A";
    QString dateLivraison = "12-03-04";
    QString numeroSerie = "ZT2030";
    QString heures = "1250";
    QString allumages = "310";
    bool verrouille = false;

    // Working display: fault flags ("AN") and relay states ("ST").
    std::array<int, 8> anomalies{};
    std::array<int, 5> etatRelais{};
    bool enMarche = false;
    bool sensInverse = false;

    // Partition count of this version: 64 above version 12, else 32.
    int nbPartitions() const;

    // Write keys in "RL" reply order (position 9 "$al" alarm output,
    // position 10 "$VC" comparator output).
    static const std::array<const char*, 17> clesRelais;

    // Fault knobs.
    bool sansEcho = false;         // characters are not echoed
    bool silence = false;          // no echo, no reply
    double delaiReponse = 0.005;   // seconds before the reply comes (> 2 s: late)
    bool sansTerminateur = false;  // reply without character 26
    bool finInterrogation = false; // reply ending in "?" without 26
    bool relectureFausse = false;  // every read answers a wrong value
    bool charabia = false;         // replies are garbage bytes ending in 26
    bool reponseLongue = false;    // replies over 300 characters
    bool invite = false;           // prompt form "<...>" LF CR before the text
    // Overrides one reply: a value is sent as the raw reply (framing
    // included, see cadrer) and the line is not processed.
    std::function<std::optional<QByteArray>(const QString& ligne)> script;

private:
    QString repondre(const QString& ligne, bool& lecture);
    QString ecrire(const QString& cle, const QString& valeur);
    QString lire(const QString& code, bool& connu) const;
    QString reponseNM() const;
    QString reponseRL() const;
    QString reponseLES() const;
    QByteArray encadrer(const QString& texte) const;

    std::map<QString, QString> general_;                 // by read code
    std::array<std::map<QString, QString>, 65> params_;  // by read code
    std::map<QString, QString> menuC_;                   // "Sn" "SN" "VC" "DC"
    std::map<QString, QString> mesures_;                 // "FT" "FQ" "IS"...
    mutable unsigned graine_ = 12345;
};

#pragma once
// Read-back decoders of the transaction: the value a write's key finds in
// the reply text `reponse`.

#include <QString>

// Mode "C": the relay of a relay-function key, or the whole kept text for
// "$sa" "$sn" "$vc" "$dc"; "" for a reply over 200 characters.
QString extraireEtatRelais(const QString& cle);
// Mode "A": the device-data field that "$CRT", "$NUM" or "$DAT" writes.
QString extraireChampReponse(const QString& cle);
// The characters of a device-data field that extraireChampReponse keeps
// (digits, ".", ":", "-" as "."), applied to a written value so that the
// read-back of a serial number with letters or a date with "/" compares.
QString filtrerChampDonnees(const QString& texte);

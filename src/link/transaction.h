#pragma once
// The serial transaction with the converter: registers, send, reply
// clean-up, read-back check, and the two waits of the serial layer.

#include <QString>

// Transaction registers.
inline QString cmdCode;          // command text: read code, or key and value
inline QString cmdMode;          // mode letter: "L" "B" "C" "A" "U" "S" "X"
inline QString cmdParam1;        // write key ("" for reads)
inline QString cmdParam2;        // read-back code ("" = none)
inline QString cmdBuffer2;       // second command register (menu C writes)
inline QString reponse;          // reply text of the last exchange
inline QString tamponReception;  // raw characters received
inline bool finCommande = false; // next envoyerCaractere sends the terminator
inline QString reponseAttendue;  // mode "U": expected reply start, then "ok"/"error"

// Waits that many seconds, processing pending window events.
void attenteTimer(double secondes);
// Pause of that many seconds without processing events.
void attentePrecise(float secondes);

// One transaction (up to four attempts for writes with a read-back code).
// True when the exchange took place and a write's read-back matched.
bool envoyerCommande(QString& commande, const QString& mode, const QString& cle, const QString& codeRelecture);
// One character, or with finCommande the terminator and the reply.
void envoyerCaractere(const QString& caractere);
// Waits for the echo of one character; true when something other than ">" came.
bool attenteEcho(QString& tampon);

// Reply clean-up of the raw characters into a reply text.
QString nettoyerReponse(const QString& brut);

// True while a transaction is in progress (a nested send does nothing).
bool liaisonOccupee();

// Link loss: port closed, off line without a message, menu windows closed.
void liaisonPerdue();
// The device of the port went away (the port's notice): a link loss at once
// while on line.
void portPerdu();

#pragma once

#include <QHash>
#include <QSet>
#include <QString>
#include <QStringList>

#include "platform/Database.h"

namespace velmora {

// The message texts of one language, read from the row of VELMORA_LINGUE whose LINGUA is the
// current language. The row is read once and stays for the rest of the run.
class Testi {
public:
    // Opens the row of a language; throws db::DatabaseError when the table cannot be read.
    void apri(db::Connection& connection, int lingua);
    bool aperto() const { return m_aperto; }
    int lingua() const { return m_lingua; }

    // The text of a message code ("A46", "M1"). Empty when the language has no row; a code
    // that has no column is an error (db::DatabaseError).
    QString testo(const QString& codice) const;
    // A component's caption: "A" followed by its tag.
    QString testoTag(int tag) const { return testo(QStringLiteral("A") + QString::number(tag)); }

    // Loads texts directly, for windows built without a database.
    void imposta(int lingua, const QHash<QString, QString>& testi);

private:
    bool m_aperto = false;
    bool m_rigaTrovata = false;
    int m_lingua = 0;
    QSet<QString> m_colonne;
    QHash<QString, QString> m_testi;
};

// The texts that the main window keeps after the language is applied.
struct Testi_Fissi {
    QString cancellaRiga;       // A22
    QString quantita;           // A30
    QString quantitaNonValida;  // A29
    QString cancellaOrdine;     // A52
    static Testi_Fissi da(const Testi& testi);
};

// Replaces the "campo" + three digits title markers of a grid's column list ("field<TAB>width<TAB>
// title<TAB>flag...") with the texts of their codes. An entry whose marker is not three digits,
// or whose code has no text column, stays as it is.
QStringList Titoli_Griglia(const QStringList& colonne, const Testi& testi);

}  // namespace velmora

#include "app/Testi.h"

namespace velmora {

void Testi::apri(db::Connection& connection, int lingua) {
    m_aperto = false;
    m_rigaTrovata = false;
    m_testi.clear();
    m_colonne.clear();
    // The filter is "LINGUA=" and the number, as the table is opened filtered on it.
    db::Statement query(
        connection, QStringLiteral("SELECT * FROM VELMORA_LINGUE WHERE LINGUA=") + QString::number(lingua));
    query.open();
    const int count = query.columnCount();
    for (int i = 0; i < count; ++i) {
        m_colonne.insert(query.columnName(i).toUpper());
    }
    if (query.next()) {
        m_rigaTrovata = true;
        for (int i = 0; i < count; ++i) {
            m_testi.insert(query.columnName(i).toUpper(), query.value(i).toString());
        }
    }
    query.closeCursor();
    m_lingua = lingua;
    m_aperto = true;
}

void Testi::imposta(int lingua, const QHash<QString, QString>& testi) {
    m_lingua = lingua;
    m_aperto = true;
    m_rigaTrovata = true;
    m_testi.clear();
    m_colonne.clear();
    for (auto it = testi.begin(); it != testi.end(); ++it) {
        m_testi.insert(it.key().toUpper(), it.value());
        m_colonne.insert(it.key().toUpper());
    }
}

QString Testi::testo(const QString& codice) const {
    const QString key = codice.toUpper();
    if (!m_colonne.contains(key)) {
        throw db::DatabaseError(QStringLiteral("VELMORA_LINGUE: Field '%1' not found").arg(codice));
    }
    return m_rigaTrovata ? m_testi.value(key) : QString();
}

Testi_Fissi Testi_Fissi::da(const Testi& testi) {
    Testi_Fissi fissi;
    fissi.cancellaRiga = testi.testo(QStringLiteral("A22"));
    fissi.quantita = testi.testo(QStringLiteral("A30"));
    fissi.quantitaNonValida = testi.testo(QStringLiteral("A29"));
    fissi.cancellaOrdine = testi.testo(QStringLiteral("A52"));
    return fissi;
}

QStringList Titoli_Griglia(const QStringList& colonne, const Testi& testi) {
    static const QString kMarker = QStringLiteral("campo");
    QStringList result;
    result.reserve(colonne.size());
    for (const QString& entry : colonne) {
        const qsizetype at = entry.indexOf(kMarker);
        if (at < 0) {
            result << entry;
            continue;
        }
        const QString digits = entry.mid(at + kMarker.size(), 3);
        bool ok = digits.size() == 3;
        for (const QChar c : digits) {
            ok = ok && c.isDigit();
        }
        if (!ok) {
            result << entry;
            continue;
        }
        try {
            const QString text = testi.testo(QStringLiteral("A") + QString::number(digits.toInt()));
            QString changed = entry;
            changed.replace(at, kMarker.size() + 3, text);
            result << changed;
        } catch (const db::DatabaseError&) {
            result << entry;
        }
    }
    return result;
}

}  // namespace velmora

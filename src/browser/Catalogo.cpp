#include "browser/Catalogo.h"

#include <QLocale>

namespace velmora {

namespace {

// The columns the grid reads, in this order; MEMO stays out of the grid.
const char* const kCampi[] = {"CODICE",  "DESCRIZIONE", "UM",        "IVA",    "GR",
                              "SG",      "GRUPPONE",    "PREZZO",    "SC1",    "SC2",
                              "NETTO",   "PREZZO_LIST", "SCONTO",    "IMAGE",  "DATA_LIST",
                              "BARCODE", "STATO",       "PREFERITI", "SC_QTA", "SC_QTA_CUM",
                              "METRI_1", "METRI_2",     "METRI_3",   "PESO",   "QTA_CONF"};

}  // namespace

bool Filtro_Catalogo::passa(const Riga_Catalogo& riga) const {
    if (Solo_Preferiti) {
        return riga.preferiti == QLatin1String("T");
    }
    if (!Filtro_Gruppone.isEmpty() && (riga.grupponeNull || riga.gruppone != Filtro_Gruppone)) {
        return false;
    }
    if (!Filtro_Gruppo.isEmpty() &&
        (riga.grNull || riga.sgNull || riga.gr != Filtro_Gruppo || riga.sg != Filtro_Sottogruppo)) {
        return false;
    }
    if (Filtro_Prezzo_Fin != 0) {
        if (riga.prezzoList.isNull()) {
            return false;
        }
        const double prezzo = riga.prezzoList.toDouble();
        if (prezzo < Filtro_Prezzo_In || prezzo > Filtro_Prezzo_Fin) {
            return false;
        }
    }
    return true;
}

QString Parametro_Ricerca(const QString& testo, bool ricercaParziale) {
    if (testo.trimmed().isEmpty()) {
        return ricercaParziale ? QStringLiteral("%%") : QString();
    }
    QString senzaCoda = testo;
    while (!senzaCoda.isEmpty() && senzaCoda.back().isSpace()) {
        senzaCoda.chop(1);
    }
    return ricercaParziale ? QLatin1Char('%') + senzaCoda + QLatin1Char('%') : senzaCoda;
}

Query_Catalogo::Query_Catalogo(db::Connection& connection)
    : m_connessione(connection), m_ordini(connection, QStringLiteral("SELECT CODICE, PROGR FROM ORDINI")) {
    Imposta_Ordine(0);
}

void Query_Catalogo::Imposta_Ordine(int ordine) {
    chiudi();
    m_ordine = ordine < 0 || ordine > 7 ? 0 : ordine;
    auto& statement = m_statements[static_cast<size_t>(m_ordine)];
    if (!statement) {
        statement = std::make_unique<db::Statement>(m_connessione, Ordine_Catalogo_Info(m_ordine).query);
    }
    m_query = statement.get();
    m_indici = &m_indiciOrdine[static_cast<size_t>(m_ordine)];
}

void Query_Catalogo::chiudi() {
    if (m_query) {
        m_query->closeCursor();
    }
    m_aperta = false;
    m_finita = true;
    m_tutte.clear();
    m_righe.clear();
}

void Query_Catalogo::rilascia() {
    chiudi();
    m_ordini.release();
    for (auto& statement : m_statements) {
        statement.reset();
    }
    for (auto& indici : m_indiciOrdine) {
        indici.clear();
    }
    m_query = nullptr;
}

void Query_Catalogo::apri(const QString& parametro) {
    chiudi();
    if (!m_query) {
        Imposta_Ordine(m_ordine);
    }
    m_parametro = parametro;
    // Which articles are already in the order: any line with the same code counts.
    m_inOrdine.clear();
    m_ordini.open();
    while (m_ordini.next()) {
        const QString codice = m_ordini.value(0).toString();
        if (!m_inOrdine.contains(codice)) {
            m_inOrdine.insert(codice, m_ordini.value(1).toString());
        }
    }
    if (Ordine_Catalogo_Info(m_ordine).haParametro) {
        m_query->set(QStringLiteral("Stringa"), parametro);
    }
    m_query->open();
    if (m_indici->empty()) {
        for (const char* campo : kCampi) {
            m_indici->push_back(m_query->columnIndex(QString::fromLatin1(campo)));
        }
    }
    m_aperta = true;
    m_finita = false;
}

Riga_Catalogo Query_Catalogo::leggi() const {
    const db::Statement& q = *m_query;
    const std::vector<int>& indici = *m_indici;
    const auto v = [&](int k) {
        return indici[static_cast<size_t>(k)] < 0 ? QVariant() : q.value(indici[static_cast<size_t>(k)]);
    };
    Riga_Catalogo r;
    r.codice = v(0).toString();
    r.descrizione = v(1).toString();
    r.um = v(2).toString();
    r.iva = v(3).toString();
    const QVariant gr = v(4);
    const QVariant sg = v(5);
    const QVariant gruppone = v(6);
    r.gr = gr.toString();
    r.sg = sg.toString();
    r.gruppone = gruppone.toString();
    r.grNull = gr.isNull();
    r.sgNull = sg.isNull();
    r.grupponeNull = gruppone.isNull();
    r.prezzo = v(7);
    r.sc1 = v(8);
    r.sc2 = v(9);
    r.netto = v(10);
    r.prezzoList = v(11);
    r.sconto = v(12);
    r.image = v(13).toString();
    r.dataList = v(14);
    r.barcode = v(15).toString();
    r.stato = v(16).toString();
    r.preferiti = v(17).toString();
    r.scQta = v(18).toString();
    r.scQtaCum = v(19).toString();
    r.metri1 = v(20);
    r.metri2 = v(21);
    r.metri3 = v(22);
    r.peso = v(23);
    r.qtaConf = v(24);
    r.vediCodice = m_inOrdine.value(r.codice);
    return r;
}

int Query_Catalogo::carica(int quante) {
    if (!m_aperta || m_finita) {
        return 0;
    }
    int aggiunte = 0;
    while (aggiunte < quante) {
        if (!m_query->next()) {
            m_finita = true;
            m_query->closeCursor();
            break;
        }
        m_tutte.push_back(leggi());
        if (!m_filtro.attivo || m_filtro.passa(m_tutte.back())) {
            m_righe.push_back(m_tutte.back());
            ++aggiunte;
        }
    }
    return aggiunte;
}

void Query_Catalogo::riapplica() {
    m_righe.clear();
    for (const Riga_Catalogo& riga : m_tutte) {
        if (!m_filtro.attivo || m_filtro.passa(riga)) {
            m_righe.push_back(riga);
        }
    }
}

QString Vedi_Sconto(const QVariant& sconto) {
    if (sconto.isNull() || sconto.toDouble() <= 0) {
        return QString();
    }
    return formatNumber(sconto.toDouble(), Formati_Decimali(2)) + QStringLiteral(" %");
}

QString Vedi_Stato(const QString& stato, const Testi& testi) {
    bool ok = false;
    const int n = stato.trimmed().toInt(&ok);
    if (!ok || n < 0 || n > 4) {
        return QString();
    }
    return testi.testo(QStringLiteral("A%1").arg(89 + n));
}

QString Path_Immagine(const QString& cartella, const QString& codice) {
    QString senzaCoda = codice;
    while (!senzaCoda.isEmpty() && senzaCoda.back() == QLatin1Char(' ')) {
        senzaCoda.chop(1);
    }
    return cartella + QStringLiteral("/IMAGES/") + senzaCoda + QStringLiteral(".JPG");
}

Cella Cella_Catalogo(const Riga_Catalogo& r, const QString& campo, const Maschere& maschere,
                     const Testi& testi) {
    Cella c;
    const auto numero = [&c](const QVariant& v, const QString& mask) {
        c.destra = true;
        c.testo = v.isNull() ? QString() : formatNumber(v.toDouble(), mask);
    };
    const QString f = campo.toUpper();
    if (f == QLatin1String("CODICE")) {
        c.testo = r.codice;
    } else if (f == QLatin1String("DESCRIZIONE")) {
        c.testo = r.descrizione;
    } else if (f == QLatin1String("PREZZO_LIST")) {
        numero(r.prezzoList, maschere.prezzoListino);
    } else if (f == QLatin1String("NETTO")) {
        numero(r.netto, maschere.prezzoListino);
    } else if (f == QLatin1String("SCONTO")) {
        numero(r.sconto, maschere.scontoCatalogo);
    } else if (f == QLatin1String("PREZZO")) {
        numero(r.prezzo, maschere.prezzoListino);
    } else if (f == QLatin1String("VEDI_SCONTO")) {
        c.testo = Vedi_Sconto(r.sconto);
        c.destra = true;
    } else if (f == QLatin1String("DATA_LIST")) {
        c.testo =
            r.dataList.isNull() ? QString() : r.dataList.toDateTime().toString(QStringLiteral("dd/MM/yyyy"));
    } else if (f == QLatin1String("UM")) {
        c.testo = r.um;
    } else if (f == QLatin1String("INORDINE")) {
        c.immagine = r.vediCodice.trimmed().isEmpty() ? 0 : 1;
    } else if (f == QLatin1String("GRUPPONE")) {
        c.testo = r.gruppone;
    } else if (f == QLatin1String("GR")) {
        c.testo = r.gr;
    } else if (f == QLatin1String("SG")) {
        c.testo = r.sg;
    } else if (f == QLatin1String("FLAG_IMMAGINE")) {
        c.immagine = r.image.trimmed() == QLatin1String("T") ? 2 : 0;
    } else if (f == QLatin1String("BARCODE")) {
        c.testo = r.barcode;
    } else if (f == QLatin1String("VEDI_STATO")) {
        c.testo = Vedi_Stato(r.stato, testi);
    } else if (f == QLatin1String("VEDI_CODICE")) {
        c.testo = r.vediCodice;
    } else if (f == QLatin1String("STATO")) {
        c.testo = r.stato;
    } else if (f == QLatin1String("PREFERITI")) {
        c.testo = r.preferiti;
    } else if (f == QLatin1String("IVA")) {
        c.testo = r.iva;
    } else if (f == QLatin1String("IMAGE")) {
        c.testo = r.image;
    } else if (f == QLatin1String("SC_QTA")) {
        c.testo = r.scQta;
    } else if (f == QLatin1String("SC_QTA_CUM")) {
        c.testo = r.scQtaCum;
    } else if (f == QLatin1String("SC1") || f == QLatin1String("SC2")) {
        numero(f == QLatin1String("SC1") ? r.sc1 : r.sc2, maschere.scontoCatalogo);
    } else if (f == QLatin1String("METRI_1") || f == QLatin1String("METRI_2") ||
               f == QLatin1String("METRI_3") || f == QLatin1String("PESO") ||
               f == QLatin1String("QTA_CONF")) {
        const QVariant v = f == QLatin1String("METRI_1")   ? r.metri1
                           : f == QLatin1String("METRI_2") ? r.metri2
                           : f == QLatin1String("METRI_3") ? r.metri3
                           : f == QLatin1String("PESO")    ? r.peso
                                                           : r.qtaConf;
        c.testo = v.isNull() ? QString() : QLocale(QLocale::Italian).toString(v.toDouble(), 'g', 15);
        c.destra = true;
    }
    return c;
}

Colonne Colonne_Catalogo() {
    return Colonne_Da_Lista({
        QStringLiteral("CODICE\t15\tcampo011\tF"),
        QStringLiteral("DESCRIZIONE\t50\tcampo012\tF"),
        QStringLiteral("PREZZO_LIST\t10\tcampo057\tF"),
        QStringLiteral("Vedi_Sconto\t10\tcampo058\tF"),
        QStringLiteral("DATA_LIST\t18\tcampo059\tF"),
        QStringLiteral("UM\t3\tUM\tF"),
        QStringLiteral("InOrdine\t10\tcampo060\tF"),
        QStringLiteral("GRUPPONE\t6\tcampo031\tF"),
        QStringLiteral("GR\t6\tcampo013\tF"),
        QStringLiteral("SG\t6\tcampo014\tF"),
        QStringLiteral("Flag_Immagine\t10\tcampo061\tF"),
        QStringLiteral("BARCODE\t30\tcampo062\tF"),
        QStringLiteral("Vedi_Stato\t15\tcampo088\tF"),
    });
}

}  // namespace velmora

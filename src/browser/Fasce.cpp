#include "browser/Fasce.h"

namespace velmora {

Fasce::Fasce(db::Connection& connection)
    : m_articolo(
          connection,
          QStringLiteral("SELECT \nARTS_ARTICOLO, \nARTS_CODICE, \nARTS_MAX AS MASSIMO, \nARTS_MIN AS "
                         "MINIMO, \nARTS_SCONTO AS SCONTO\n\n"
                         "FROM T_AN7FASCE_LS\nWHERE\nARTS_ARTICOLO = :Articolo AND\nARTS_LISTINO = :Listino\n"
                         "ORDER BY ARTS_ARTICOLO, ARTS_LISTINO, ARTS_CODICE")),
      m_sottogruppo(
          connection,
          QStringLiteral(
              "SELECT\nSGFL_CODICE, \nSGFL_GRUPPO, \nSGFL_LISTINO, \nSGFL_MAX AS MASSIMO, \nSGFL_MIN AS "
              "MINIMO, \n"
              "SGFL_SCONTO AS SCONTO, \nSGFL_SOTTOGR\nFROM T_AN3_4FASCE_LS\nWHERE\nSGFL_GRUPPO = :Gr AND\n"
              "SGFL_SOTTOGR = :Sg AND\nSGFL_LISTINO = :Listino\nORDER BY SGFL_GRUPPO, SGFL_SOTTOGR, "
              "SGFL_LISTINO, SGFL_CODICE")),
      m_cumulative(
          connection,
          QStringLiteral(
              "SELECT\n\nCUM_GR, \nCUM_LISTINO, \nCUM_MAX AS MASSIMO, \nCUM_MIN AS MINIMO, \nCUM_PROGR, \n"
              "CUM_SCONTO AS SCONTO, \nCUM_SG\n\nFROM SG_SCQTA_CUM \nWHERE\nCUM_GR = :Gr AND\nCUM_SG = :Sg "
              "AND\n"
              "CUM_LISTINO = :Listino\nORDER BY CUM_GR, CUM_SG, CUM_LISTINO, CUM_PROGR")) {}

std::vector<Fascia_Riga> Fasce::leggi(db::Statement& query) {
    std::vector<Fascia_Riga> righe;
    query.open();
    const int minimo = query.columnIndex(QStringLiteral("MINIMO"));
    const int massimo = query.columnIndex(QStringLiteral("MASSIMO"));
    const int sconto = query.columnIndex(QStringLiteral("SCONTO"));
    while (query.next()) {
        righe.push_back({query.value(minimo).toDouble(), query.value(massimo).toDouble(),
                         query.value(sconto).toDouble()});
    }
    query.closeCursor();
    return righe;
}

Esito_Fasce Fasce::Fasce_Articolo(const QString& codice, const QVariant& gr, const QVariant& sg,
                                  int listino) {
    m_articolo.set(QStringLiteral("Articolo"), codice);
    m_articolo.set(QStringLiteral("Listino"), listino);
    Esito_Fasce esito{leggi(m_articolo), QStringLiteral("M4")};
    if (esito.righe.empty()) {
        m_sottogruppo.set(QStringLiteral("Gr"), gr);
        m_sottogruppo.set(QStringLiteral("Sg"), sg);
        m_sottogruppo.set(QStringLiteral("Listino"), listino);
        esito.righe = leggi(m_sottogruppo);
    }
    return esito;
}

std::optional<Esito_Fasce> Fasce::Fasce_Cumulative(const QVariant& gr, const QVariant& sg, int listino) {
    m_cumulative.set(QStringLiteral("Gr"), gr);
    m_cumulative.set(QStringLiteral("Sg"), sg);
    m_cumulative.set(QStringLiteral("Listino"), listino);
    Esito_Fasce esito{leggi(m_cumulative), QStringLiteral("M5")};
    if (esito.righe.empty()) {
        return std::nullopt;
    }
    return esito;
}

}  // namespace velmora

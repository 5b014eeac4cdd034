#include "browser/Ordini_Catalogo.h"

#include <array>

namespace velmora {

const Ordine_Catalogo_Def& Ordine_Catalogo_Info(int ordine) {
    // The search text is declared as wide as the search box can make it: compared with the
    // narrower code column it would otherwise be refused as too long instead of matching nothing.
    static const QString kSearch = QStringLiteral(
        "SELECT * FROM LISTINO\nWHERE (DESCRIZIONE LIKE CAST(:Stringa AS VARCHAR(1024))) OR "
        "(CODICE LIKE CAST(:Stringa AS VARCHAR(1024)))\nORDER BY ");
    static const QString kAll = QStringLiteral("SELECT * FROM LISTINO\nORDER BY ");
    static const std::array<Ordine_Catalogo_Def, 8> kOrdini = {{
        {0, kSearch + QStringLiteral("CODICE"), true, QStringLiteral("%%"), true, true},
        {1, kSearch + QStringLiteral("DESCRIZIONE"), true, QStringLiteral("%%"), true, true},
        {2, kAll + QStringLiteral("GRUPPONE"), false, QString(), false, false},
        {3, kAll + QStringLiteral("GR"), false, QString(), false, false},
        {4, kAll + QStringLiteral("PREZZO_LIST"), false, QString(), false, false},
        {5, kAll + QStringLiteral("NETTO"), false, QString(), false, false},
        {6,
         QStringLiteral(
             "SELECT * FROM LISTINO\nWHERE BARCODE >= CAST(:Stringa AS VARCHAR(1024))\nORDER BY BARCODE"),
         true, QString(), true, false},
        {7, QStringLiteral("SELECT * FROM LISTINO\nORDER BY DATA_LIST DESC"), false, QString(), false, false},
    }};
    return kOrdini.at(static_cast<size_t>(ordine < 0 || ordine > 7 ? 0 : ordine));
}

}  // namespace velmora

#pragma once

#include <QString>

namespace velmora {

// The eight orders of the catalogue: the query each loads, the value its parameter takes when
// the order is chosen, whether the search box is enabled and whether the search text is
// wrapped in "%" wildcards.
struct Ordine_Catalogo_Def {
    int ordine;
    QString query;
    bool haParametro;
    QString valoreIniziale;
    bool ricercaAbilitata;
    bool ricercaParziale;
};

const Ordine_Catalogo_Def& Ordine_Catalogo_Info(int ordine);

}  // namespace velmora

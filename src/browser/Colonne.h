#pragma once

#include <QList>
#include <QString>
#include <QStringList>

namespace velmora {

// One column of a grid's column list: field name, display width in characters, title,
// read-only flag ("T" read-only; "F" or empty editable) and an optional group name.
struct Colonna {
    QString campo;
    int larghezza = 10;
    QString titolo;
    QString solaLettura = QStringLiteral("F");
    QString gruppo;

    bool operator==(const Colonna&) const = default;
};
using Colonne = QList<Colonna>;

// A grid's designed column list is written as entries "field<TAB>width<TAB>title<TAB>flag"
// (more tab-separated fields may follow; the fifth is the group).
Colonne Colonne_Da_Lista(const QStringList& voci);
QStringList Lista_Da_Colonne(const Colonne& colonne);

}  // namespace velmora

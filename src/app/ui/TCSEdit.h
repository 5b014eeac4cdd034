#pragma once

#include <QColor>
#include <QFont>
#include <QLineEdit>
#include <QString>

#include "app/ui/TCSDBMemo.h"

class QFocusEvent;
class QKeyEvent;

namespace velmora {

// A one-line edit (with QLineEdit's input mask) that shows where the focus is: one colour and font
// while it has the focus, another while disabled, a third otherwise. CursoreFineCampo puts the
// caret after the text on entry; ExitOnReturn makes Enter move on to the next control, as Tab does.
class TCSEdit final : public Controllo_Focus<QLineEdit> {
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(TCSEdit)
    Q_PROPERTY(QColor ColorOnFocus READ ColorOnFocus WRITE setColorOnFocus)
    Q_PROPERTY(QColor ColorOnDisabled READ ColorOnDisabled WRITE setColorOnDisabled)
    Q_PROPERTY(QColor ColorOnNoFocus READ ColorOnNoFocus WRITE setColorOnNoFocus)
    Q_PROPERTY(QFont FontOnFocus READ FontOnFocus WRITE setFontOnFocus)
    Q_PROPERTY(QFont FontOnDisabled READ FontOnDisabled WRITE setFontOnDisabled)
    Q_PROPERTY(QFont FontOnNoFocus READ FontOnNoFocus WRITE setFontOnNoFocus)
    Q_PROPERTY(bool CursoreFineCampo READ CursoreFineCampo WRITE setCursoreFineCampo)
    Q_PROPERTY(bool ExitOnReturn READ ExitOnReturn WRITE setExitOnReturn)
    Q_PROPERTY(bool AutoSelect READ AutoSelect WRITE setAutoSelect)
    // Search settings kept with the control; nothing in the program reads them.
    Q_PROPERTY(QString Ricerca_Campo READ Ricerca_Campo WRITE setRicerca_Campo)
    Q_PROPERTY(bool Ricerca_Esci READ Ricerca_Esci WRITE setRicerca_Esci)
    Q_PROPERTY(QString Errore_Validate READ Errore_Validate WRITE setErrore_Validate)

public:
    explicit TCSEdit(QWidget* parent = nullptr);
    explicit TCSEdit(const QString& text, QWidget* parent = nullptr);

    bool CursoreFineCampo() const { return m_cursoreFineCampo; }
    void setCursoreFineCampo(bool on) { m_cursoreFineCampo = on; }
    bool ExitOnReturn() const { return m_exitOnReturn; }
    void setExitOnReturn(bool on) { m_exitOnReturn = on; }
    // Select the whole text on entry (a mouse click places the caret itself); CursoreFineCampo
    // then has no effect.
    bool AutoSelect() const { return m_autoSelect; }
    void setAutoSelect(bool on) { m_autoSelect = on; }

    QString Ricerca_Campo() const { return m_ricercaCampo; }
    void setRicerca_Campo(const QString& campo) { m_ricercaCampo = campo; }
    bool Ricerca_Esci() const { return m_ricercaEsci; }
    void setRicerca_Esci(bool on) { m_ricercaEsci = on; }
    QString Errore_Validate() const { return m_erroreValidate; }
    void setErrore_Validate(const QString& testo) { m_erroreValidate = testo; }

protected:
    void focusInEvent(QFocusEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;

private:
    bool m_cursoreFineCampo = true;
    bool m_exitOnReturn = false;
    bool m_autoSelect = false;
    QString m_ricercaCampo;
    bool m_ricercaEsci = false;
    QString m_erroreValidate;
};

// The colours every colour-on-focus edit and memo below `root` gets once the language is applied:
// normal and unfocused the system window colour, disabled the system button face, focused yellow.
void Applica_Colori_Focus(QWidget* root);

}  // namespace velmora

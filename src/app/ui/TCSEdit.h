#pragma once

#include <QColor>
#include <QEvent>
#include <QFont>
#include <QLineEdit>
#include <QPlainTextEdit>

namespace velmora {

// The three looks of the colour-on-focus controls: focused, disabled, neither. Disabled wins.
class Stato_Focus {
public:
    QColor colorOnFocus;
    QColor colorOnDisabled;
    QColor colorOnNoFocus;
    QFont fontOnFocus;
    QFont fontOnDisabled;
    QFont fontOnNoFocus;
    bool focused = false;

    void inizializza(QWidget* widget);
    // Gives the widget the colour and font of its state.
    void applica(QWidget* widget) const;
    // Shows a colour and a font on a widget.
    static void mostra(QWidget* widget, const QColor& colore, const QFont& font);
    QColor colore(const QWidget* widget) const;
    QFont font(const QWidget* widget) const;
};

// The focus-colour behaviour shared by the edit and the memo, over any input widget.
template <typename Base>
class Controllo_Focus : public Base {
public:
    explicit Controllo_Focus(QWidget* parent = nullptr) : Base(parent) {
        m_stato.inizializza(this);
        m_stato.applica(this);
    }

    QColor ColorOnFocus() const { return m_stato.colorOnFocus; }
    QColor ColorOnDisabled() const { return m_stato.colorOnDisabled; }
    QColor ColorOnNoFocus() const { return m_stato.colorOnNoFocus; }
    QFont FontOnFocus() const { return m_stato.fontOnFocus; }
    QFont FontOnDisabled() const { return m_stato.fontOnDisabled; }
    QFont FontOnNoFocus() const { return m_stato.fontOnNoFocus; }
    bool focused() const { return m_stato.focused; }

    // Setting a look shows it at once; the next repaint brings back the look of the state.
    void setColorOnFocus(const QColor& color) { imposta(m_stato.colorOnFocus, color); }
    void setColorOnDisabled(const QColor& color) { imposta(m_stato.colorOnDisabled, color); }
    void setColorOnNoFocus(const QColor& color) { imposta(m_stato.colorOnNoFocus, color); }
    void setFontOnFocus(const QFont& font) { imposta(m_stato.fontOnFocus, font); }
    void setFontOnDisabled(const QFont& font) { imposta(m_stato.fontOnDisabled, font); }
    void setFontOnNoFocus(const QFont& font) { imposta(m_stato.fontOnNoFocus, font); }

protected:
    void focusInEvent(QFocusEvent* event) override {
        m_stato.focused = true;
        m_stato.applica(this);
        Base::focusInEvent(event);
    }
    void focusOutEvent(QFocusEvent* event) override {
        m_stato.focused = false;
        m_stato.applica(this);
        Base::focusOutEvent(event);
    }
    void changeEvent(QEvent* event) override {
        Base::changeEvent(event);
        if (event->type() == QEvent::EnabledChange) {
            m_stato.applica(this);
        }
    }
    void paintEvent(QPaintEvent* event) override {
        Base::paintEvent(event);
        m_stato.applica(this);
    }

private:
    void imposta(QColor& campo, const QColor& color) {
        campo = color;
        Stato_Focus::mostra(this, color, this->font());
    }
    void imposta(QFont& campo, const QFont& font) {
        campo = font;
        Stato_Focus::mostra(this, this->palette().color(QPalette::Base), font);
    }

    Stato_Focus m_stato;
};

// A one-line edit that shows where the focus is: one colour and font while it has the focus,
// another while disabled, a third otherwise. CursoreFineCampo puts the caret after the text on
// entry; ExitOnReturn makes Enter move on to the next control, as Tab does.
class TCSEdit : public Controllo_Focus<QLineEdit> {
    Q_OBJECT
    Q_PROPERTY(QColor ColorOnFocus READ ColorOnFocus WRITE setColorOnFocus)
    Q_PROPERTY(QColor ColorOnDisabled READ ColorOnDisabled WRITE setColorOnDisabled)
    Q_PROPERTY(QColor ColorOnNoFocus READ ColorOnNoFocus WRITE setColorOnNoFocus)
    Q_PROPERTY(QFont FontOnFocus READ FontOnFocus WRITE setFontOnFocus)
    Q_PROPERTY(QFont FontOnDisabled READ FontOnDisabled WRITE setFontOnDisabled)
    Q_PROPERTY(QFont FontOnNoFocus READ FontOnNoFocus WRITE setFontOnNoFocus)
    Q_PROPERTY(bool CursoreFineCampo READ CursoreFineCampo WRITE setCursoreFineCampo)
    Q_PROPERTY(bool ExitOnReturn READ ExitOnReturn WRITE setExitOnReturn)
    Q_PROPERTY(bool AutoSelect READ AutoSelect WRITE setAutoSelect)

public:
    explicit TCSEdit(QWidget* parent = nullptr) : Controllo_Focus<QLineEdit>(parent) {}
    explicit TCSEdit(const QString& text, QWidget* parent = nullptr) : TCSEdit(parent) { setText(text); }

    bool CursoreFineCampo() const { return m_cursoreFineCampo; }
    bool ExitOnReturn() const { return m_exitOnReturn; }
    bool AutoSelect() const { return m_autoSelect; }
    void setCursoreFineCampo(bool on) { m_cursoreFineCampo = on; }
    void setExitOnReturn(bool on) { m_exitOnReturn = on; }
    // Select the whole text on entry instead of placing the caret.
    void setAutoSelect(bool on) { m_autoSelect = on; }

protected:
    void focusInEvent(QFocusEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;

private:
    bool m_cursoreFineCampo = true;
    bool m_exitOnReturn = false;
    bool m_autoSelect = false;
};

// The multi-line memo with the same three looks.
class TCSDBMemo : public Controllo_Focus<QPlainTextEdit> {
    Q_OBJECT
    Q_PROPERTY(QColor ColorOnFocus READ ColorOnFocus WRITE setColorOnFocus)
    Q_PROPERTY(QColor ColorOnDisabled READ ColorOnDisabled WRITE setColorOnDisabled)
    Q_PROPERTY(QColor ColorOnNoFocus READ ColorOnNoFocus WRITE setColorOnNoFocus)
    Q_PROPERTY(QFont FontOnFocus READ FontOnFocus WRITE setFontOnFocus)
    Q_PROPERTY(QFont FontOnDisabled READ FontOnDisabled WRITE setFontOnDisabled)
    Q_PROPERTY(QFont FontOnNoFocus READ FontOnNoFocus WRITE setFontOnNoFocus)

public:
    explicit TCSDBMemo(QWidget* parent = nullptr) : Controllo_Focus<QPlainTextEdit>(parent) {}
};

// The colours every colour-on-focus control below `root` gets once the language is applied:
// unfocused white (the system window colour), focused yellow, disabled the button face.
void Applica_Colori_Focus(QWidget* root);

}  // namespace velmora

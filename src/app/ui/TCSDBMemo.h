#pragma once

#include <QColor>
#include <QEvent>
#include <QFocusEvent>
#include <QFont>
#include <QPlainTextEdit>
#include <QString>

namespace velmora {

// The colours and fonts of a colour-on-focus control and the rule that picks one of its three looks:
// disabled wins over focused, focused wins over neither.
struct Stato_Focus {
    QColor colorOnFocus;
    QColor colorOnDisabled;
    QColor colorOnNoFocus;
    QFont fontOnFocus;
    QFont fontOnDisabled;
    QFont fontOnNoFocus;
    bool focused = false;

    // Every look starts as the system window colour and the toolkit's font for this kind of widget.
    explicit Stato_Focus(const QWidget* widget);

    QColor colore(const QWidget* widget) const;
    QFont font(const QWidget* widget) const;
    // Shows the colour and font of the widget's present state.
    void applica(QWidget* widget) const;

    // The background of the input area. The text keeps the system text colour unless the
    // background is of the other brightness than the system window colour, where that colour
    // itself is used for the text: yellow on a dark desktop theme stays readable.
    static void mostraColore(QWidget* widget, const QColor& colore);
    static void mostraFont(QWidget* widget, const QFont& font);
};

// The colour-on-focus behaviour over an input widget. A setter stores the look and shows it at once;
// the next repaint, a change of the enabled state and every focus change show the look of the state.
template <typename Base>
class Controllo_Focus : public Base {
public:
    explicit Controllo_Focus(QWidget* parent = nullptr) : Base(parent), m_stato(this) {
        m_stato.applica(this);
    }

    QColor ColorOnFocus() const { return m_stato.colorOnFocus; }
    QColor ColorOnDisabled() const { return m_stato.colorOnDisabled; }
    QColor ColorOnNoFocus() const { return m_stato.colorOnNoFocus; }
    QFont FontOnFocus() const { return m_stato.fontOnFocus; }
    QFont FontOnDisabled() const { return m_stato.fontOnDisabled; }
    QFont FontOnNoFocus() const { return m_stato.fontOnNoFocus; }
    // Set on entering the control, cleared on leaving it.
    bool focused() const { return m_stato.focused; }

    void setColorOnFocus(const QColor& color) { imposta(m_stato.colorOnFocus, color); }
    void setColorOnDisabled(const QColor& color) { imposta(m_stato.colorOnDisabled, color); }
    void setColorOnNoFocus(const QColor& color) { imposta(m_stato.colorOnNoFocus, color); }
    void setFontOnFocus(const QFont& font) { imposta(m_stato.fontOnFocus, font); }
    void setFontOnDisabled(const QFont& font) { imposta(m_stato.fontOnDisabled, font); }
    void setFontOnNoFocus(const QFont& font) { imposta(m_stato.fontOnNoFocus, font); }

    // Shows the look of the present state now rather than at the next repaint.
    void Applica_Stato() { m_stato.applica(this); }

protected:
    void focusInEvent(QFocusEvent* event) override {
        m_stato.focused = true;
        Stato_Focus::mostraColore(this, m_stato.colorOnFocus);
        Stato_Focus::mostraFont(this, m_stato.fontOnFocus);
        Base::focusInEvent(event);
    }
    void focusOutEvent(QFocusEvent* event) override {
        m_stato.focused = false;
        Stato_Focus::mostraColore(this, m_stato.colorOnNoFocus);
        Stato_Focus::mostraFont(this, m_stato.fontOnNoFocus);
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
        Stato_Focus::mostraColore(this, color);
    }
    void imposta(QFont& campo, const QFont& font) {
        campo = font;
        Stato_Focus::mostraFont(this, font);
    }

    Stato_Focus m_stato;
};

// A multi-line memo with the three looks of the colour-on-focus controls. The caller loads the text
// with setTesto and stores it wherever it belongs when testoModificato reports an edit.
class TCSDBMemo final : public Controllo_Focus<QPlainTextEdit> {
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(TCSDBMemo)
    Q_PROPERTY(QColor ColorOnFocus READ ColorOnFocus WRITE setColorOnFocus)
    Q_PROPERTY(QColor ColorOnDisabled READ ColorOnDisabled WRITE setColorOnDisabled)
    Q_PROPERTY(QColor ColorOnNoFocus READ ColorOnNoFocus WRITE setColorOnNoFocus)
    Q_PROPERTY(QFont FontOnFocus READ FontOnFocus WRITE setFontOnFocus)
    Q_PROPERTY(QFont FontOnDisabled READ FontOnDisabled WRITE setFontOnDisabled)
    Q_PROPERTY(QFont FontOnNoFocus READ FontOnNoFocus WRITE setFontOnNoFocus)
    Q_PROPERTY(QString Testo READ testo WRITE setTesto NOTIFY testoModificato USER true)

public:
    explicit TCSDBMemo(QWidget* parent = nullptr);

    QString testo() const { return toPlainText(); }
    // Shows a text from the caller; loading it is not an edit and reports nothing.
    void setTesto(const QString& testo);

signals:
    // Any change of the text other than setTesto: typing, pasting, clear(), setPlainText().
    void testoModificato(const QString& testo);

private:
    bool m_caricamento = false;
};

}  // namespace velmora

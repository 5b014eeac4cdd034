#pragma once

#include <QColor>
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
    QColor colore(const QWidget* widget) const;
    QFont font(const QWidget* widget) const;
};

// A one-line edit that shows where the focus is: one colour and font while it has the focus,
// another while disabled, a third otherwise. CursoreFineCampo puts the caret after the text on
// entry; ExitOnReturn makes Enter move on to the next control, as Tab does.
class TCSEdit : public QLineEdit {
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
    explicit TCSEdit(QWidget* parent = nullptr);
    explicit TCSEdit(const QString& text, QWidget* parent = nullptr);

    QColor ColorOnFocus() const { return m_stato.colorOnFocus; }
    QColor ColorOnDisabled() const { return m_stato.colorOnDisabled; }
    QColor ColorOnNoFocus() const { return m_stato.colorOnNoFocus; }
    QFont FontOnFocus() const { return m_stato.fontOnFocus; }
    QFont FontOnDisabled() const { return m_stato.fontOnDisabled; }
    QFont FontOnNoFocus() const { return m_stato.fontOnNoFocus; }
    bool CursoreFineCampo() const { return m_cursoreFineCampo; }
    bool ExitOnReturn() const { return m_exitOnReturn; }
    bool AutoSelect() const { return m_autoSelect; }

    // Setting the focused or disabled look shows it at once, until the next repaint.
    void setColorOnFocus(const QColor& color);
    void setColorOnDisabled(const QColor& color);
    void setColorOnNoFocus(const QColor& color);
    void setFontOnFocus(const QFont& font);
    void setFontOnDisabled(const QFont& font);
    void setFontOnNoFocus(const QFont& font);
    void setCursoreFineCampo(bool on) { m_cursoreFineCampo = on; }
    void setExitOnReturn(bool on) { m_exitOnReturn = on; }
    // Select the whole text on entry instead of placing the caret.
    void setAutoSelect(bool on) { m_autoSelect = on; }
    bool focused() const { return m_stato.focused; }

protected:
    void focusInEvent(QFocusEvent* event) override;
    void focusOutEvent(QFocusEvent* event) override;
    void changeEvent(QEvent* event) override;
    void paintEvent(QPaintEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;

private:
    Stato_Focus m_stato;
    bool m_cursoreFineCampo = true;
    bool m_exitOnReturn = false;
    bool m_autoSelect = false;
};

// The multi-line memo with the same three looks.
class TCSDBMemo : public QPlainTextEdit {
    Q_OBJECT
    Q_PROPERTY(QColor ColorOnFocus READ ColorOnFocus WRITE setColorOnFocus)
    Q_PROPERTY(QColor ColorOnDisabled READ ColorOnDisabled WRITE setColorOnDisabled)
    Q_PROPERTY(QColor ColorOnNoFocus READ ColorOnNoFocus WRITE setColorOnNoFocus)
    Q_PROPERTY(QFont FontOnFocus READ FontOnFocus WRITE setFontOnFocus)
    Q_PROPERTY(QFont FontOnDisabled READ FontOnDisabled WRITE setFontOnDisabled)
    Q_PROPERTY(QFont FontOnNoFocus READ FontOnNoFocus WRITE setFontOnNoFocus)

public:
    explicit TCSDBMemo(QWidget* parent = nullptr);

    QColor ColorOnFocus() const { return m_stato.colorOnFocus; }
    QColor ColorOnDisabled() const { return m_stato.colorOnDisabled; }
    QColor ColorOnNoFocus() const { return m_stato.colorOnNoFocus; }
    QFont FontOnFocus() const { return m_stato.fontOnFocus; }
    QFont FontOnDisabled() const { return m_stato.fontOnDisabled; }
    QFont FontOnNoFocus() const { return m_stato.fontOnNoFocus; }
    void setColorOnFocus(const QColor& color);
    void setColorOnDisabled(const QColor& color);
    void setColorOnNoFocus(const QColor& color);
    void setFontOnFocus(const QFont& font);
    void setFontOnDisabled(const QFont& font);
    void setFontOnNoFocus(const QFont& font);
    bool focused() const { return m_stato.focused; }

protected:
    void focusInEvent(QFocusEvent* event) override;
    void focusOutEvent(QFocusEvent* event) override;
    void changeEvent(QEvent* event) override;
    void paintEvent(QPaintEvent* event) override;

private:
    Stato_Focus m_stato;
};

// The colours every colour-on-focus control below `root` gets once the language is applied:
// unfocused white (the system window colour), focused yellow, disabled the button face.
void Applica_Colori_Focus(QWidget* root);

}  // namespace velmora

#include "app/ui/Applica_Lingua.h"

#include <QAbstractButton>
#include <QAction>
#include <QLabel>
#include <QTabWidget>

namespace velmora {

namespace {

QTabWidget* tabOf(QWidget* page) {
    for (QWidget* w = page->parentWidget(); w; w = w->parentWidget()) {
        if (auto* tabs = qobject_cast<QTabWidget*>(w)) {
            return tabs->indexOf(page) >= 0 ? tabs : nullptr;
        }
    }
    return nullptr;
}

}  // namespace

void Applica_Testi(QObject* root, const Testi& testi) {
    const QList<QObject*> objects = root->findChildren<QObject*>();
    for (QObject* object : objects) {
        bool ok = false;
        const int tag = object->property(kTag).toInt(&ok);
        if (!ok || tag == 0) {
            continue;
        }
        if (auto* button = qobject_cast<QAbstractButton*>(object)) {
            button->setText(testi.testoTag(tag));
        } else if (auto* label = qobject_cast<QLabel*>(object)) {
            label->setText(testi.testoTag(tag));
        } else if (auto* action = qobject_cast<QAction*>(object)) {
            action->setText(testi.testoTag(tag));
        } else if (auto* widget = qobject_cast<QWidget*>(object)) {
            if (QTabWidget* tabs = tabOf(widget)) {
                tabs->setTabText(tabs->indexOf(widget), testi.testoTag(tag));
            }
        }
    }
}

}  // namespace velmora

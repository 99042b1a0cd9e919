#include "play/ventanas/TapeteAccesible.h"

#include <QAccessible>
#include <QAccessibleWidget>
#include <QPointer>

#include "play/ventanas/Tapete.h"

namespace {

// The card or pile in focus: a child without an object of its own, read from the table.
class TFocoAccesible : public QAccessibleInterface {
 public:
  explicit TFocoAccesible(TTapete* tapete) : tapete_(tapete) {}

  bool isValid() const override { return tapete_ && tapete_->PilaEnFoco(); }
  QObject* object() const override { return nullptr; }
  QWindow* window() const override { return tapete_ ? tapete_->window()->windowHandle() : nullptr; }
  QAccessibleInterface* childAt(int, int) const override { return nullptr; }
  QAccessibleInterface* parent() const override {
    return tapete_ ? QAccessible::queryAccessibleInterface(tapete_.data()) : nullptr;
  }
  QAccessibleInterface* child(int) const override { return nullptr; }
  int childCount() const override { return 0; }
  int indexOfChild(const QAccessibleInterface*) const override { return -1; }
  QString text(QAccessible::Text t) const override {
    if (!tapete_) return {};
    if (t == QAccessible::Name) return tapete_->DescripcionFoco();
    if (t == QAccessible::Description) return tapete_->DescripcionLlevada();
    return {};
  }
  void setText(QAccessible::Text, const QString&) override {}
  QRect rect() const override {
    if (!tapete_) return {};
    const QRect r = tapete_->RectanguloFoco();
    return QRect(tapete_->mapToGlobal(r.topLeft()), r.size());
  }
  QAccessible::Role role() const override { return QAccessible::ListItem; }
  QAccessible::State state() const override {
    QAccessible::State s;
    s.focusable = true;
    s.focused = tapete_ && tapete_->hasFocus();
    s.selected = tapete_ && tapete_->Llevada();
    return s;
  }

 private:
  QPointer<TTapete> tapete_;
};

class TTapeteAccesible : public QAccessibleWidget {
 public:
  explicit TTapeteAccesible(TTapete* tapete)
      : QAccessibleWidget(tapete, QAccessible::List, QStringLiteral("Mesa de juego")) {
    foco_ = new TFocoAccesible(tapete);
    id_ = QAccessible::registerAccessibleInterface(foco_);
  }
  ~TTapeteAccesible() override { QAccessible::deleteAccessibleInterface(id_); }

  int childCount() const override { return foco_->isValid() ? 1 : 0; }
  QAccessibleInterface* child(int i) const override {
    return i == 0 && foco_->isValid() ? foco_ : nullptr;
  }
  int indexOfChild(const QAccessibleInterface* hijo) const override {
    return hijo == foco_ && foco_->isValid() ? 0 : -1;
  }
  QAccessibleInterface* focusChild() const override { return child(0); }
  QAccessibleInterface* childAt(int x, int y) const override {
    QAccessibleInterface* f = child(0);
    return f && f->rect().contains(x, y) ? f : nullptr;
  }
  QString text(QAccessible::Text t) const override {
    if (t == QAccessible::Name) return QStringLiteral("Mesa de juego");
    return QAccessibleWidget::text(t);
  }

 private:
  TFocoAccesible* foco_;
  QAccessible::Id id_;
};

QAccessibleInterface* Fabrica(const QString& clase, QObject* objeto) {
  if (clase == QLatin1String("TTapete") && objeto && objeto->isWidgetType())
    return new TTapeteAccesible(static_cast<TTapete*>(objeto));
  return nullptr;
}

}  // namespace

void InstalarTapeteAccesible() {
  static const bool instalada = [] {
    QAccessible::installFactory(Fabrica);
    return true;
  }();
  (void)instalada;
}

#include "scores/ventanas/Records.h"

#include <QBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QStyle>

#include <algorithm>

#include "resources/Dibujos.h"
#include "scores/ventanas/Puntuaciones.h"

TfrmRecords::TfrmRecords(QWidget* parent)
    : TDialogoFijo(parent, Qt::Dialog | Qt::MSWindowsFixedSizeDialogHint | Qt::WindowTitleHint |
                               Qt::WindowSystemMenuHint | Qt::WindowCloseButtonHint |
                               Qt::CustomizeWindowHint) {
  setWindowTitle(QStringLiteral("ZARP - Records"));
  QPalette pal = palette();
  pal.setColor(QPalette::Window, QColor(0, 68, 68));
  setPalette(pal);
  setAutoFillBackground(true);

  Image1 = new QLabel(this);
  Image1->setPixmap(QPixmap::fromImage(ImagenVentana(QStringLiteral("Records"))));
  Image1->setFixedSize(314, 79);

  Label1 = new QLabel(QStringLiteral("Ingresá tu nombre:"), this);
  QFont negrita = Label1->font();
  negrita.setBold(true);
  Label1->setFont(negrita);
  QPalette amarillo = Label1->palette();
  amarillo.setColor(QPalette::WindowText, Qt::yellow);
  Label1->setPalette(amarillo);

  edtNombre = new QLineEdit(this);
  edtNombre->setMaxLength(20);
  // Room for twenty characters of the font in use.
  edtNombre->setMinimumWidth(
      std::max(177, edtNombre->fontMetrics().averageCharWidth() * 20 + 8));
  edtNombre->installEventFilter(this);

  bbtnAceptar = new QPushButton(style()->standardIcon(QStyle::SP_DialogOkButton),
                                QStringLiteral("Aceptar"), this);
  bbtnCancelar = new QPushButton(style()->standardIcon(QStyle::SP_DialogCancelButton),
                                 QStringLiteral("Cancelar"), this);
  for (QPushButton* b : {bbtnAceptar, bbtnCancelar}) b->setMinimumSize(81, 25);

  // The banner, the label over the field, and the field with the two buttons.
  auto* raiz = new QVBoxLayout(this);
  raiz->setContentsMargins(11, 8, 11, 8);
  raiz->setSpacing(4);
  raiz->addWidget(Image1, 0, Qt::AlignHCenter);
  raiz->addSpacing(4);
  raiz->addWidget(Label1);
  auto* fila = new QHBoxLayout;
  fila->setSpacing(7);
  fila->addWidget(edtNombre, 1);
  fila->addWidget(bbtnAceptar);
  fila->addWidget(bbtnCancelar);
  raiz->addLayout(fila);
  AjustarAlContenido(*this, QSize(376, 142));

  // No default button: Enter must wait for its release.
  for (QPushButton* b : {bbtnAceptar, bbtnCancelar}) {
    b->setAutoDefault(false);
    b->setDefault(false);
  }
  connect(bbtnAceptar, &QPushButton::clicked, this, &QDialog::accept);
  connect(bbtnCancelar, &QPushButton::clicked, this, &QDialog::reject);

  // Held from its creation on.
  CalcularPosicionFija();
  edtNombre->setFocus();
}

void TfrmRecords::showEvent(QShowEvent* e) {
  TDialogoFijo::showEvent(e);
  if (e->spontaneous()) return;
  JugarNroPedido = false;
  edtNombre->setFocus();
}

void TfrmRecords::keyPressEvent(QKeyEvent* e) {
  switch (e->key()) {
    case Qt::Key_Return:
    case Qt::Key_Enter:
    case Qt::Key_Escape:
      e->accept();
      return;
    default:
      TDialogoFijo::keyPressEvent(e);
  }
}

void TfrmRecords::keyReleaseEvent(QKeyEvent* e) {
  if (e->isAutoRepeat()) return TDialogoFijo::keyReleaseEvent(e);
  switch (e->key()) {
    case Qt::Key_Return:
    case Qt::Key_Enter:
      // Enter confirms from the name field; on a button, Space presses it.
      e->accept();
      if (focusWidget() == edtNombre) bbtnAceptar->click();
      return;
    case Qt::Key_Escape:
      e->accept();
      bbtnCancelar->click();
      return;
    default:
      TDialogoFijo::keyReleaseEvent(e);
  }
}

bool TfrmRecords::eventFilter(QObject* objeto, QEvent* e) {
  // edtNombreKeyUp: the field hands its key releases to the dialog.
  if (objeto == edtNombre && e->type() == QEvent::KeyRelease) {
    keyReleaseEvent(static_cast<QKeyEvent*>(e));
    if (e->isAccepted()) return true;
  }
  return TDialogoFijo::eventFilter(objeto, e);
}

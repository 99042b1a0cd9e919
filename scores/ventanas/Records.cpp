#include "scores/ventanas/Records.h"

#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QStyle>

#include "resources/Dibujos.h"
#include "scores/ventanas/Puntuaciones.h"

TfrmRecords::TfrmRecords(QWidget* parent)
    : TDialogoFijo(parent, Qt::Dialog | Qt::MSWindowsFixedSizeDialogHint | Qt::WindowTitleHint |
                               Qt::WindowSystemMenuHint | Qt::WindowCloseButtonHint |
                               Qt::CustomizeWindowHint) {
  setWindowTitle(QStringLiteral("ZARP - Records"));
  setFixedSize(376, 142);
  QPalette pal = palette();
  pal.setColor(QPalette::Window, QColor(0, 68, 68));
  setPalette(pal);
  setAutoFillBackground(true);

  Image1 = new QLabel(this);
  Image1->setGeometry(31, 8, 314, 79);
  Image1->setPixmap(QPixmap::fromImage(ImagenVentana(QStringLiteral("Records"))));

  Label1 = new QLabel(QStringLiteral("Ingresá tu nombre:"), this);
  Label1->move(11, 96);
  QFont negrita = Label1->font();
  negrita.setBold(true);
  Label1->setFont(negrita);
  QPalette amarillo = Label1->palette();
  amarillo.setColor(QPalette::WindowText, Qt::yellow);
  Label1->setPalette(amarillo);
  Label1->adjustSize();

  edtNombre = new QLineEdit(this);
  edtNombre->setGeometry(11, 112, 177, 21);
  edtNombre->setMaxLength(20);
  edtNombre->installEventFilter(this);

  bbtnAceptar = new QPushButton(style()->standardIcon(QStyle::SP_DialogOkButton),
                                QStringLiteral("Aceptar"), this);
  bbtnAceptar->setGeometry(195, 111, 81, 25);
  bbtnCancelar = new QPushButton(style()->standardIcon(QStyle::SP_DialogCancelButton),
                                 QStringLiteral("Cancelar"), this);
  bbtnCancelar->setGeometry(283, 111, 81, 25);
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

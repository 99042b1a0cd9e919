#include "play/ventanas/IngresarNumero.h"

#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QShowEvent>

#include "play/ConvertirNumero.h"
#include "play/Generador.h"

std::int32_t NroIngresado = 0;

TfrmIngresarNumero::TfrmIngresarNumero(QWidget* parent)
    : QDialog(parent, Qt::Dialog | Qt::MSWindowsFixedSizeDialogHint | Qt::WindowTitleHint |
                          Qt::WindowCloseButtonHint) {
  setWindowTitle(QStringLiteral("ZARP - Jugar juego número..."));
  setFixedSize(277, 63);
  auto* etiqueta = new QLabel(
      QStringLiteral("Ingresá el número de juego que quieras jugar (sin el \"#\")."), this);
  etiqueta->setGeometry(4, 4, 270, 16);
  edtNumero = new QLineEdit(this);
  edtNumero->setMaxLength(8);
  edtNumero->setGeometry(4, 32, 97, 24);
  bbtnAceptar = new QPushButton(QStringLiteral("Aceptar"), this);
  bbtnAceptar->setGeometry(108, 32, 80, 25);
  bbtnAceptar->setDefault(true);
  bbtnCancelar = new QPushButton(QStringLiteral("Cancelar"), this);
  bbtnCancelar->setGeometry(192, 32, 80, 25);
  connect(bbtnAceptar, &QPushButton::clicked, this, &QDialog::accept);
  connect(bbtnCancelar, &QPushButton::clicked, this, &QDialog::reject);
  connect(edtNumero, &QLineEdit::textChanged, this, &TfrmIngresarNumero::edtNumeroChange);
  edtNumeroChange(edtNumero->text());
}

void TfrmIngresarNumero::showEvent(QShowEvent* e) {
  QDialog::showEvent(e);
  if (propuesto_) return;
  propuesto_ = true;
  // The proposal is a fresh number from the clock, as a new deal would take.
  TGenerador generador;
  generador.SembrarConReloj();
  edtNumero->setText(QString::number(static_cast<std::int32_t>(generador.Semilla)));
  edtNumero->selectAll();
  edtNumero->setFocus();
}

void TfrmIngresarNumero::edtNumeroChange(const QString& texto) {
  const auto n = ConvertirNumero(texto.toStdString());
  if (n) NroIngresado = *n;
  bbtnAceptar->setEnabled(n && *n != 0);
}

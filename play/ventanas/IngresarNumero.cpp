#include "play/ventanas/IngresarNumero.h"

#include <QBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QShowEvent>

#include "play/ConvertirNumero.h"
#include "play/Generador.h"
#include "play/ventanas/DialogoFijo.h"

std::int32_t NroIngresado = 0;

TfrmIngresarNumero::TfrmIngresarNumero(QWidget* parent)
    : QDialog(parent, Qt::Dialog | Qt::MSWindowsFixedSizeDialogHint | Qt::WindowTitleHint |
                          Qt::WindowCloseButtonHint) {
  setWindowTitle(QStringLiteral("ZARP - Jugar juego número..."));
  auto* etiqueta = new QLabel(
      QStringLiteral("Ingresá el número de juego que quieras jugar (sin el \"#\")."), this);
  edtNumero = new QLineEdit(this);
  edtNumero->setMaxLength(8);
  edtNumero->setMinimumWidth(97);
  bbtnAceptar = new QPushButton(QStringLiteral("Aceptar"), this);
  bbtnAceptar->setDefault(true);
  bbtnCancelar = new QPushButton(QStringLiteral("Cancelar"), this);
  for (QPushButton* b : {bbtnAceptar, bbtnCancelar}) b->setMinimumSize(80, 25);
  // The label on its own line, whole; the field and the buttons under it.
  auto* raiz = new QVBoxLayout(this);
  raiz->setContentsMargins(6, 6, 6, 6);
  raiz->setSpacing(8);
  raiz->addWidget(etiqueta);
  auto* fila = new QHBoxLayout;
  fila->addWidget(edtNumero, 1);
  fila->addWidget(bbtnAceptar);
  fila->addWidget(bbtnCancelar);
  raiz->addLayout(fila);
  AjustarAlContenido(*this, QSize(277, 63));
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

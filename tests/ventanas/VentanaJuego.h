#pragma once
// A game window of the test's own, shown, with the player's files in a scratch folder and
// every question answered yes; and a print of the table to compare two tables by.
#include <QTemporaryDir>
#include <QTest>

#include <filesystem>
#include <memory>
#include <string>

#include <gtest/gtest.h>

#include "play/ventanas/Juego.h"
#include "play/ventanas/Programa.h"
#include "play/ventanas/Tapete.h"

template <class Base = ::testing::Test>
class TConVentanaJuego : public Base {
 protected:
  void SetUp() override { AbrirVentana(); }
  void TearDown() override {
    juego.reset();
    Programa().Carpeta.clear();
  }

  void AbrirVentana() {
    ASSERT_TRUE(carpeta.isValid());
    Programa().Carpeta = std::filesystem::path(carpeta.path().toStdString());
    juego = std::make_unique<TfrmJuego>();
    juego->Preguntar = [](const QString&) { return true; };
    juego->show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(juego.get()));
    t = juego->Tapete;
  }

  QTemporaryDir carpeta;
  std::unique_ptr<TfrmJuego> juego;
  TTapete* t = nullptr;
};

// Every card's place, face and pile: two tables print alike only when they look alike.
inline std::string DescribirMesa(const TMesa& m) {
  std::string s;
  for (const auto& c : m.Cartas)
    s += std::to_string(c->Palo * 10 + c->Numero) + (c->BocaArriba ? "+" : "-") + "@" +
         std::to_string(c->Left) + "," + std::to_string(c->Top) + (c->Visible ? "v" : "h") +
         "p" + std::to_string(c->Pila ? c->Pila->Numero : -1) + " ";
  return s;
}

// The card-back chooser with real widgets: the frames follow the clicks, the player's
// pictures sit five to a row, Aceptar repaints the face-down cards of a running game,
// Cancelar changes nothing, and the choice comes back with the settings file.
#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QGroupBox>
#include <QPushButton>
#include <QScrollArea>
#include <QScrollBar>
#include <QTest>
#include <QTimer>

#include <filesystem>
#include <functional>
#include <map>
#include <memory>
#include <string>

#include "backs/imagen/Imagenes.h"
#include "backs/ventanas/Reversos.h"
#include "games/Juegos.h"
#include "play/Configuracion.h"
#include "play/ventanas/Ayuda.h"
#include "play/ventanas/Juego.h"
#include "play/ventanas/Principal.h"
#include "play/ventanas/Programa.h"
#include "play/ventanas/Tapete.h"
#include "resources/Dibujos.h"
#include "tests/CarpetaTemporal.h"

namespace fs = std::filesystem;

namespace {

QImage Captura(QWidget* w) { return w->grab().toImage().convertToFormat(QImage::Format_ARGB32); }
QImage Imagen(const QPixmap& p) { return p.toImage().convertToFormat(QImage::Format_ARGB32); }

// A distinct solid colour per generated picture.
QColor ColorUsuario(int k) { return QColor(QColor::fromHsv((k * 47) % 360, 255, 210).rgb()); }

class ReversosTest : public CarpetaTemporal {
 protected:
  void SetUp() override {
    CarpetaTemporal::SetUp();
    Programa().Carpeta = Carpeta;
    Programa().Configuracion = LeerConfiguracion(Carpeta);
    Programa().ReversosUsuario.clear();
  }
  void TearDown() override {
    delete Programa().frmReversos.data();
    juego.reset();
    principal.reset();
    Programa().ReversosUsuario.clear();
    Programa().Configuracion = {};
    Programa().Carpeta.clear();
    CarpetaTemporal::TearDown();
  }

  // `n` pictures of odd sizes in Reversos/, then the list as a start of the program
  // builds it. Returns each file's colour by its full path.
  void CrearReversos(int n) {
    fs::create_directories(Carpeta / "Reversos");
    for (int k = 0; k < n; ++k) {
      QImage img(20 + 37 * k, 300 - 23 * k, QImage::Format_RGB32);
      img.fill(ColorUsuario(k));
      const fs::path archivo = Carpeta / "Reversos" / ("r" + std::to_string(10 + k) + ".bmp");
      ASSERT_TRUE(img.save(QString::fromStdString(archivo.string()), "BMP"));
      colores[archivo.string()] = ColorUsuario(k);
    }
    Programa().ReversosUsuario = CargarReversosUsuario(Carpeta);
    ASSERT_EQ(Programa().ReversosUsuario.size(), static_cast<std::size_t>(n));
  }

  TfrmReversos& Dialogo() { return FormReversos(nullptr); }

  // Runs `abrir`, which shows the chooser modally; once it is the active window `pasos`
  // acts on it and must close it.
  void EnElDialogo(const std::function<void()>& abrir,
                   const std::function<void(TfrmReversos&)>& pasos) {
    bool hecho = false;
    QTimer::singleShot(0, [&] {
      TfrmReversos* f = Programa().frmReversos;
      if (!f || !f->isVisible() || !QTest::qWaitForWindowActive(f)) {
        ADD_FAILURE() << "the chooser did not open";
        if (f) f->reject();
        return;
      }
      pasos(*f);
      hecho = true;
      if (f->isVisible()) {
        ADD_FAILURE() << "the chooser was left open";
        f->reject();
      }
    });
    abrir();
    EXPECT_TRUE(hecho);
  }
  // Opens the chooser on its own and returns its result.
  int Abrir(const std::function<void(TfrmReversos&)>& pasos) {
    int resultado = -1;
    EnElDialogo([&] { resultado = Dialogo().exec(); }, pasos);
    return resultado;
  }

  static void Click(QWidget* w) { QTest::mouseClick(w, Qt::LeftButton, {}, w->rect().center()); }

  // Where a frame marking `imagen` must lie, and whether it shows.
  static void ExpectMarco(const TMarco* marco, const QWidget* imagen) {
    ASSERT_TRUE(marco->isVisible());
    EXPECT_EQ(marco->parentWidget(), imagen->parentWidget());
    EXPECT_EQ(marco->geometry(), QRect(imagen->pos() - QPoint(4, 4), QSize(70, 106)));
  }

  std::map<std::string, QColor> colores;
  std::unique_ptr<TfrmJuego> juego;
  std::unique_ptr<TfrmPrincipal> principal;
};

// What the table shows for its cards: each visible card's pixels where it is the topmost
// control and its picture is opaque, compared with the picture it should show.
struct TCuenta {
  int Iguales = 0;
  int Distintos = 0;
};
TCuenta CompararCartas(TTapete* tapete, const QImage& captura, const TMesa& mesa, bool bocaArriba,
                       const std::function<QImage(const TCarta&)>& esperada) {
  TCuenta cuenta;
  for (const auto& c : mesa.Cartas) {
    if (!c->Visible || c->BocaArriba != bocaArriba) continue;
    const QImage dibujo = esperada(*c);
    const QRect r = tapete->Rectangulo(*c);
    EXPECT_EQ(dibujo.size(), r.size());
    for (int y = 0; y < r.height(); y += 3)
      for (int x = 0; x < r.width(); x += 3) {
        const QPoint p = r.topLeft() + QPoint(x, y);
        if (tapete->ControlEn(p) != c.get() || qAlpha(dibujo.pixel(x, y)) != 255) continue;
        (captura.pixel(p) == dibujo.pixel(x, y) ? cuenta.Iguales : cuenta.Distintos)++;
      }
  }
  return cuenta;
}

}  // namespace

TEST_F(ReversosTest, PrimeraVezMarcaElPrimeroYLosClicksMuevenLosMarcos) {
  CrearReversos(3);
  TfrmReversos& f = Dialogo();
  EXPECT_EQ(f.windowTitle(), "ZARP - Reversos");
  EXPECT_EQ(f.size(), QSize(591, 346));
  EXPECT_EQ(f.GroupBox1->title(), "Reversos prediseñados");
  EXPECT_EQ(f.GroupBox2->title(), "Reversos del usuario");
  EXPECT_EQ(f.Label1->text(), "Hacé click en el reverso que quieras usar.");
  EXPECT_TRUE(f.Label1->font().bold());
  EXPECT_EQ(f.bbtnAceptar->text(), "&Aceptar");
  EXPECT_EQ(f.BitBtn2->text(), "&Cancelar");
  EXPECT_EQ(f.bbtnAyuda->text(), "A&yuda");

  const int r = Abrir([&](TfrmReversos& d) {
    // The built-in pictures in their places, the first one framed in green.
    const QPoint lugares[4] = {{8, 24}, {81, 24}, {8, 136}, {81, 136}};
    for (int k = 0; k < 4; ++k) {
      EXPECT_EQ(d.Imagenes[k]->geometry(), QRect(lugares[k], QSize(62, 98)));
      EXPECT_EQ(Imagen(d.Imagenes[k]->pixmap()), Imagen(DibujoReverso(k, d.devicePixelRatioF())));
    }
    ExpectMarco(d.Shape1, d.Imagenes[0]);
    EXPECT_FALSE(d.Shape2->isVisible());
    // The frame lies behind the picture: its green shows only around it.
    QImage caja = Captura(d.GroupBox1);
    const QWidget* i1 = d.Imagenes[0];
    EXPECT_EQ(QColor(caja.pixel(i1->x() - 1, i1->y() + 49)), QColor(0, 97, 0));
    EXPECT_EQ(caja.pixel(i1->geometry().center()),
              Imagen(DibujoReverso(0, 1.0)).pixel(QRect(0, 0, 62, 98).center()));

    Click(d.Imagenes[2]);
    EXPECT_EQ(d.ReversoPendiente, "k58203361Defecto3");
    ExpectMarco(d.Shape1, d.Imagenes[2]);
    EXPECT_FALSE(d.Shape2->isVisible());
    caja = Captura(d.GroupBox1);
    EXPECT_NE(QColor(caja.pixel(i1->x() - 1, i1->y() + 49)), QColor(0, 97, 0));

    // A user back: the yellow frame, and the green one goes.
    const auto& ubicados = d.ReversosUbicados();
    ASSERT_EQ(ubicados.size(), 3u);
    Click(ubicados[1].Imagen);
    EXPECT_EQ(d.ReversoPendiente, Programa().ReversosUsuario[1].Archivo);
    ExpectMarco(d.Shape2, ubicados[1].Imagen);
    EXPECT_FALSE(d.Shape1->isVisible());
    const QImage usuarios = Captura(d.sbContenido);
    const QWidget* u = ubicados[1].Imagen;
    EXPECT_EQ(QColor(usuarios.pixel(u->x() - 1, u->y() + 49)), QColor(Qt::yellow));
    EXPECT_EQ(QColor(usuarios.pixel(ubicados[0].Imagen->x() - 1, u->y() + 49)), QColor(0, 92, 0));

    Click(d.Imagenes[3]);
    EXPECT_EQ(d.ReversoPendiente, "k58203361Defecto4");
    ExpectMarco(d.Shape1, d.Imagenes[3]);
    EXPECT_FALSE(d.Shape2->isVisible());
    Click(d.BitBtn2);
  });
  EXPECT_EQ(r, QDialog::Rejected);
  EXPECT_EQ(ReversoActual(), "k58203361Defecto1");
}

TEST_F(ReversosTest, ReversosDelUsuarioCincoPorFilaConSuDibujoEnElMarcador) {
  CrearReversos(12);
  Abrir([&](TfrmReversos& d) {
    const auto& ubicados = d.ReversosUbicados();
    ASSERT_EQ(ubicados.size(), 12u);
    const QImage marcador = ImagenMarcadorReverso();
    for (std::size_t n = 0; n < ubicados.size(); ++n) {
      SCOPED_TRACE(n);
      // In the list's order, newest first.
      EXPECT_EQ(ubicados[n].Archivo, Programa().ReversosUsuario[n].Archivo);
      const QWidget* img = ubicados[n].Imagen;
      EXPECT_EQ(img->parentWidget(), d.sbContenido);
      EXPECT_TRUE(img->isVisible());
      const int i = static_cast<int>(n % 5) + 1;
      const int j = static_cast<int>(n / 5) + 1;
      EXPECT_EQ(img->geometry(), QRect(74 * i - 64, 107 * j - 97, 62, 98));
      // Whatever its size and shape, the file fills the inner 56 x 92 pixels and the
      // placeholder's border stays around it.
      const QImage dibujo = Imagen(ubicados[n].Imagen->pixmap());
      ASSERT_EQ(dibujo.size(), QSize(62, 98));
      const QColor color = colores.at(ubicados[n].Archivo);
      for (const QPoint p : {QPoint(3, 3), QPoint(58, 94), QPoint(30, 48), QPoint(58, 3)})
        EXPECT_EQ(QColor(dibujo.pixel(p)), color) << p.x() << "," << p.y();
      for (const QPoint p : {QPoint(1, 50), QPoint(60, 50), QPoint(30, 1), QPoint(30, 96)})
        EXPECT_EQ(dibujo.pixel(p), marcador.pixel(p)) << p.x() << "," << p.y();
    }
    // The sixth and seventh open the second row; three rows need scrolling, once the
    // scroll bars have settled.
    QCoreApplication::processEvents();
    EXPECT_EQ(ubicados[5].Imagen->pos(), QPoint(10, 117));
    EXPECT_EQ(ubicados[6].Imagen->pos(), QPoint(84, 117));
    EXPECT_EQ(ubicados[10].Imagen->pos(), QPoint(10, 224));
    EXPECT_GT(d.sbImagenes->verticalScrollBar()->maximum(), 0);
    EXPECT_EQ(d.sbImagenes->horizontalScrollBar()->maximum(), 0);
    // Scrolled down, the last row comes into view.
    d.sbImagenes->verticalScrollBar()->setValue(d.sbImagenes->verticalScrollBar()->maximum());
    const QRect ultima = ubicados[11].Imagen->geometry().translated(d.sbContenido->pos());
    EXPECT_TRUE(d.sbImagenes->viewport()->rect().contains(ultima));
    Click(d.BitBtn2);
  });
}

TEST_F(ReversosTest, SinCarpetaLaCajaQuedaVaciaYDosFilasNoDesplazan) {
  Abrir([&](TfrmReversos& d) {
    EXPECT_TRUE(d.ReversosUbicados().empty());
    EXPECT_EQ(d.sbContenido->findChildren<TImagenReverso*>().size(), 0);
    EXPECT_FALSE(d.Shape2->isVisible());
    Click(d.BitBtn2);
  });
  // A list loaded again (a new main window) is placed anew in the same chooser.
  CrearReversos(7);
  Abrir([&](TfrmReversos& d) {
    ASSERT_EQ(d.ReversosUbicados().size(), 7u);
    QCoreApplication::processEvents();
    EXPECT_EQ(d.sbImagenes->verticalScrollBar()->maximum(), 0);
    EXPECT_EQ(d.sbImagenes->horizontalScrollBar()->maximum(), 0);
    Click(d.BitBtn2);
  });
}

TEST_F(ReversosTest, AlAbrirMarcaElReversoActual) {
  CrearReversos(6);
  const std::string sexto = Programa().ReversosUsuario[5].Archivo;
  struct TCaso {
    std::string Actual;
    int Predisennado;  // 0..3, or -1
    int Usuario;       // place in the list, or -1
  };
  std::string mayusculas = sexto;
  for (char& ch : mayusculas) ch = static_cast<char>(std::toupper(static_cast<unsigned char>(ch)));
  const TCaso casos[] = {
      {"k58203361Defecto3", 2, -1},
      {sexto, -1, 5},
      // A user picture's path matches in any letter case; a built-in name does not.
      {mayusculas, -1, 5},
      {"K58203361DEFECTO2", -1, -1},
      {"", -1, -1},
      {(Carpeta / "Reversos" / "no-existe.bmp").string(), -1, -1},
      {"k58203361Defecto4", 3, -1},
  };
  for (const TCaso& caso : casos) {
    SCOPED_TRACE(caso.Actual);
    Programa().Configuracion.PonerReversoActual(caso.Actual);
    Abrir([&](TfrmReversos& d) {
      const auto& ubicados = d.ReversosUbicados();
      ASSERT_EQ(ubicados.size(), 6u);
      // Placed once: a later opening keeps the same controls in the same places.
      EXPECT_EQ(ubicados[5].Imagen->pos(), QPoint(10, 117));
      if (caso.Predisennado >= 0)
        ExpectMarco(d.Shape1, d.Imagenes[static_cast<std::size_t>(caso.Predisennado)]);
      else
        EXPECT_FALSE(d.Shape1->isVisible());
      if (caso.Usuario >= 0)
        ExpectMarco(d.Shape2, ubicados[static_cast<std::size_t>(caso.Usuario)].Imagen);
      else
        EXPECT_FALSE(d.Shape2->isVisible());
      Click(d.BitBtn2);
    });
  }
}

TEST_F(ReversosTest, AceptarEnElJuegoRepintaLosReversosDeLaMesaYDelMazo) {
  CrearReversos(2);
  juego = std::make_unique<TfrmJuego>();
  juego->Jugar(PrepararSolitarioDeLosSieteMontones, 1);
  juego->show();
  ASSERT_TRUE(QTest::qWaitForWindowExposed(juego.get()));
  TTapete* t = juego->Tapete;
  const qreal dpr = t->devicePixelRatioF();
  ASSERT_EQ(dpr, 1.0);
  // The table is scaled to the window: its pictures are drawn at the size they show.
  const QSize tam = t->TamannoCarta();
  auto reverso = [tam](int k) {
    return [k, tam](const TCarta&) { return Imagen(DibujoReverso(k, tam, 1.0)); };
  };
  auto cara = [tam](const TCarta& c) { return Imagen(DibujoCara(c.ImagenCara(), tam, 1.0)); };
  const int enMazo = juego->mesa.Mazo->CartasMazo;
  ASSERT_GT(enMazo, 0);

  const QImage antes = Captura(t);
  const TCuenta abajo = CompararCartas(t, antes, juego->mesa, false, reverso(0));
  EXPECT_GT(abajo.Iguales, 200);
  EXPECT_EQ(abajo.Distintos, 0);
  const TCuenta arriba = CompararCartas(t, antes, juego->mesa, true, cara);
  EXPECT_GT(arriba.Iguales, 200);
  EXPECT_EQ(arriba.Distintos, 0);

  EnElDialogo([&] { juego->tbReversos->trigger(); },
              [&](TfrmReversos& d) {
                Click(d.Imagenes[2]);
                Click(d.bbtnAceptar);
              });
  EXPECT_EQ(ReversoActual(), "k58203361Defecto3");
  const QImage despues = Captura(t);
  const TCuenta nuevo = CompararCartas(t, despues, juego->mesa, false, reverso(2));
  EXPECT_EQ(nuevo.Iguales, abajo.Iguales);
  EXPECT_EQ(nuevo.Distintos, 0);
  EXPECT_EQ(CompararCartas(t, despues, juego->mesa, true, cara).Distintos, 0);
  // The stock's top card shows the new back too.
  const TCarta* tope = juego->mesa.Mazo->TopeMazo;
  ASSERT_NE(tope, nullptr);
  const QPoint centro = t->Rectangulo(*tope).center();
  EXPECT_EQ(t->ControlEn(centro), tope);
  EXPECT_EQ(despues.pixel(centro),
            Imagen(DibujoReverso(2, tam, 1.0)).pixel(centro - t->Rectangulo(*tope).topLeft()));
  EXPECT_EQ(juego->mesa.Mazo->CartasMazo, enMazo);

  // A user back: its file's colour inside the placeholder's border on every face-down card.
  const std::string archivo = Programa().ReversosUsuario[0].Archivo;
  EnElDialogo([&] { juego->tbReversos->trigger(); },
              [&](TfrmReversos& d) {
                ExpectMarco(d.Shape1, d.Imagenes[2]);
                Click(d.ReversosUbicados()[0].Imagen);
                Click(d.bbtnAceptar);
              });
  EXPECT_EQ(ReversoActual(), archivo);
  const QImage usuario = Captura(t);
  const QImage compuesto = Imagen(DibujoReversoActual(tam, 1.0));
  const TCuenta propio = CompararCartas(t, usuario, juego->mesa, false,
                                        [&](const TCarta&) { return compuesto; });
  EXPECT_GT(propio.Iguales, 200);
  EXPECT_EQ(propio.Distintos, 0);
  EXPECT_EQ(QColor(usuario.pixel(centro)), colores.at(archivo));
  EXPECT_EQ(CompararCartas(t, usuario, juego->mesa, true, cara).Distintos, 0);
}

TEST_F(ReversosTest, CancelarNoCambiaNadaPeroLoElegidoQuedaPendiente) {
  CrearReversos(1);
  juego = std::make_unique<TfrmJuego>();
  juego->Jugar(PrepararSolitarioDeLosSieteMontones, 7);
  juego->show();
  ASSERT_TRUE(QTest::qWaitForWindowExposed(juego.get()));
  const QImage antes = Captura(juego->Tapete);
  const auto bytes = Programa().Configuracion.Bytes;

  EnElDialogo([&] { juego->tbReversos->trigger(); },
              [&](TfrmReversos& d) {
                Click(d.Imagenes[1]);
                Click(d.BitBtn2);
              });
  EXPECT_EQ(ReversoActual(), "k58203361Defecto1");
  EXPECT_EQ(Programa().Configuracion.Bytes, bytes);
  EXPECT_EQ(Captura(juego->Tapete), antes);

  // Escape cancels as well.
  EnElDialogo([&] { juego->tbReversos->trigger(); },
              [&](TfrmReversos& d) {
                Click(d.ReversosUbicados()[0].Imagen);
                Click(d.Imagenes[3]);
                QTest::keyClick(&d, Qt::Key_Escape);
              });
  EXPECT_EQ(ReversoActual(), "k58203361Defecto1");
  EXPECT_EQ(Captura(juego->Tapete), antes);

  // The next opening marks the current back, yet Aceptar stores the last click.
  EnElDialogo([&] { juego->tbReversos->trigger(); },
              [&](TfrmReversos& d) {
                ExpectMarco(d.Shape1, d.Imagenes[0]);
                EXPECT_EQ(d.ReversoPendiente, "k58203361Defecto4");
                Click(d.bbtnAceptar);
              });
  EXPECT_EQ(ReversoActual(), "k58203361Defecto4");
  EXPECT_NE(Captura(juego->Tapete), antes);
}

TEST_F(ReversosTest, AceptarSinHaberElegidoDejaElReversoActual) {
  CrearReversos(2);
  const std::string archivo = Programa().ReversosUsuario[1].Archivo;
  principal = std::make_unique<TfrmPrincipal>();
  Programa().Configuracion.PonerReversoActual(archivo);
  EnElDialogo([&] { principal->tbReversos->trigger(); },
              [&](TfrmReversos& d) {
                EXPECT_TRUE(d.ReversoPendiente.empty());
                ExpectMarco(d.Shape2, d.ReversosUbicados()[1].Imagen);
                QTest::keyClick(&d, Qt::Key_Return);
              });
  EXPECT_EQ(ReversoActual(), archivo);
}

TEST_F(ReversosTest, LaEleccionVuelveConElArchivoDeConfiguracion) {
  CrearReversos(7);
  principal = std::make_unique<TfrmPrincipal>();
  ASSERT_EQ(Programa().ReversosUsuario.size(), 7u);
  const std::string septimo = Programa().ReversosUsuario[6].Archivo;
  EnElDialogo([&] { principal->tbReversos->trigger(); },
              [&](TfrmReversos& d) {
                Click(d.ReversosUbicados()[6].Imagen);
                Click(d.bbtnAceptar);
              });
  EXPECT_EQ(ReversoActual(), septimo);
  principal->show();
  principal->close();
  ASSERT_TRUE(fs::exists(Carpeta / "ZARP.bin"));
  principal.reset();
  EXPECT_TRUE(Programa().frmReversos.isNull());

  // A fresh start in the same folder.
  Programa().Configuracion = {};
  Programa().ReversosUsuario.clear();
  principal = std::make_unique<TfrmPrincipal>();
  EXPECT_EQ(ReversoActual(), septimo);
  EnElDialogo([&] { principal->tbReversos->trigger(); },
              [&](TfrmReversos& d) {
                ExpectMarco(d.Shape2, d.ReversosUbicados()[6].Imagen);
                EXPECT_FALSE(d.Shape1->isVisible());
                Click(d.BitBtn2);
              });
  const QImage dibujo = Imagen(DibujoReversoActual(1.0));
  EXPECT_EQ(QColor(dibujo.pixel(30, 48)), colores.at(septimo));
}

TEST_F(ReversosTest, AyudaAbreElContexto280) {
  fs::copy_file(CARTOVAL_RECURSOS "/ZARP(Esp).hlp", Carpeta / "ZARP(Esp).hlp");
  Abrir([&](TfrmReversos& d) {
    Click(d.bbtnAyuda);
    TfrmAyuda* visor = TfrmAyuda::Instancia();
    ASSERT_NE(visor, nullptr);
    EXPECT_EQ(visor->TemaActual(), "tema-280");
    visor->close();
    d.reject();
  });
}

// The card-back chooser with real widgets: the frames follow the clicks, the player's
// pictures sit five to a row and are decoded only as they come into view, Aceptar
// repaints the face-down cards of a running game, Cancelar changes nothing now or later,
// and the choice comes back with the settings file.
#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QGroupBox>
#include <QPushButton>
#include <QListView>
#include <QScrollBar>
#include <QTest>
#include <QTimer>

#include <filesystem>
#include <functional>
#include <map>
#include <memory>
#include <string>

#include "backs/imagen/Imagenes.h"
#include "backs/ventanas/ImagenesReversos.h"
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
      QImage img(20 + 37 * (k % 8), 300 - 23 * (k % 8), QImage::Format_RGB32);
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
  // A click on the player's back of row `n`, scrolled into view first.
  static void ClickUsuario(TfrmReversos& d, int n) {
    d.sbImagenes->scrollTo(d.Modelo->index(n));
    QTest::mouseClick(d.sbImagenes->viewport(), Qt::LeftButton, {}, d.RectanguloUsuario(n).center());
  }
  // Lets the worker finish what was asked for and the view paint what came back.
  static void Esperar() {
    for (int k = 0; k < 3; ++k) {
      ASSERT_TRUE(ImagenesReversos().Esperar(20000));
      QCoreApplication::processEvents();
    }
  }
  // The view's pixels, once the pictures in view are there.
  static QImage CapturaUsuarios(TfrmReversos& d) {
    Captura(d.sbImagenes->viewport());  // the paint that asks for the pictures in view
    Esperar();
    return Captura(d.sbImagenes->viewport());
  }
  // The yellow frame around row `n` and no green one.
  static void ExpectMarcoUsuario(TfrmReversos& d, int n) {
    EXPECT_EQ(d.MarcadaUsuario(), n);
    EXPECT_FALSE(d.Shape1->isVisible());
    const QRect r = d.RectanguloUsuario(n);
    const QImage vista = Captura(d.sbImagenes->viewport());
    if (vista.rect().contains(r.topLeft() - QPoint(2, -49))) {
      EXPECT_EQ(QColor(vista.pixel(r.left() - 2, r.top() + 49)), QColor(Qt::yellow));
    }
  }

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
  for (const QPushButton* b : {f.bbtnAceptar, f.BitBtn2, f.bbtnAyuda}) EXPECT_FALSE(b->icon().isNull());

  const int r = Abrir([&](TfrmReversos& d) {
    // The built-in pictures in their places, the first one framed in green.
    const QPoint lugares[4] = {{8, 24}, {81, 24}, {8, 136}, {81, 136}};
    for (int k = 0; k < 4; ++k) {
      EXPECT_EQ(d.Imagenes[k]->geometry(), QRect(lugares[k], QSize(62, 98)));
      EXPECT_EQ(Imagen(d.Imagenes[k]->pixmap()), Imagen(DibujoReverso(k, d.devicePixelRatioF())));
    }
    ExpectMarco(d.Shape1, d.Imagenes[0]);
    EXPECT_EQ(d.MarcadaUsuario(), -1);
    // The frame lies behind the picture: its green shows only around it.
    QImage caja = Captura(d.GroupBox1);
    const QWidget* i1 = d.Imagenes[0];
    EXPECT_EQ(QColor(caja.pixel(i1->x() - 1, i1->y() + 49)), QColor(0, 97, 0));
    EXPECT_EQ(caja.pixel(i1->geometry().center()),
              Imagen(DibujoReverso(0, 1.0)).pixel(QRect(0, 0, 62, 98).center()));

    Click(d.Imagenes[2]);
    EXPECT_EQ(d.ReversoPendiente, "k58203361Defecto3");
    ExpectMarco(d.Shape1, d.Imagenes[2]);
    caja = Captura(d.GroupBox1);
    EXPECT_NE(QColor(caja.pixel(i1->x() - 1, i1->y() + 49)), QColor(0, 97, 0));

    // A user back: the yellow frame, and the green one goes.
    ASSERT_EQ(d.Modelo->rowCount(), 3);
    ClickUsuario(d, 1);
    EXPECT_EQ(d.ReversoPendiente, Programa().ReversosUsuario[1].Archivo);
    ExpectMarcoUsuario(d, 1);
    const QImage usuarios = Captura(d.sbImagenes->viewport());
    const QRect u = d.RectanguloUsuario(1), u0 = d.RectanguloUsuario(0);
    EXPECT_EQ(QColor(usuarios.pixel(u.left() - 1, u.top() + 49)), QColor(Qt::yellow));
    EXPECT_EQ(QColor(usuarios.pixel(u0.left() - 1, u.top() + 49)), QColor(0, 92, 0));
    // The green between the pictures takes no click.
    QTest::mouseClick(d.sbImagenes->viewport(), Qt::LeftButton, {}, u0.topLeft() - QPoint(5, 5));
    EXPECT_EQ(d.MarcadaUsuario(), 1);

    Click(d.Imagenes[3]);
    EXPECT_EQ(d.ReversoPendiente, "k58203361Defecto4");
    ExpectMarco(d.Shape1, d.Imagenes[3]);
    EXPECT_EQ(d.MarcadaUsuario(), -1);
    EXPECT_NE(QColor(Captura(d.sbImagenes->viewport()).pixel(u.left() - 1, u.top() + 49)),
              QColor(Qt::yellow));
    Click(d.BitBtn2);
  });
  EXPECT_EQ(r, QDialog::Rejected);
  EXPECT_EQ(ReversoActual(), "k58203361Defecto1");
}

TEST_F(ReversosTest, ReversosDelUsuarioCincoPorFilaConSuDibujoEnElMarcador) {
  CrearReversos(12);
  Abrir([&](TfrmReversos& d) {
    ASSERT_EQ(d.Modelo->rowCount(), 12);
    const QImage marcador = ImagenMarcadorReverso();
    for (int n = 0; n < 12; ++n) {
      SCOPED_TRACE(n);
      // In the list's order, newest first, five to a row from (10, 10).
      EXPECT_EQ(d.Modelo->Archivos()[static_cast<std::size_t>(n)],
                Programa().ReversosUsuario[static_cast<std::size_t>(n)].Archivo);
      const int i = n % 5 + 1;
      const int j = n / 5 + 1;
      EXPECT_EQ(d.RectanguloUsuario(n), QRect(74 * i - 64, 107 * j - 97, 62, 98));
    }
    // Whatever its size and shape, the file fills the inner 56 x 92 pixels and the
    // placeholder's border stays around it; the rows in view first.
    auto comprobar = [&](int n, const QImage& vista) {
      SCOPED_TRACE(n);
      const QRect r = d.RectanguloUsuario(n);
      ASSERT_TRUE(vista.rect().contains(r)) << "row not in view";
      const QColor color = colores.at(d.Modelo->Archivos()[static_cast<std::size_t>(n)]);
      for (const QPoint p : {QPoint(3, 3), QPoint(58, 94), QPoint(30, 48), QPoint(58, 3)})
        EXPECT_EQ(QColor(vista.pixel(r.topLeft() + p)), color) << p.x() << "," << p.y();
      for (const QPoint p : {QPoint(1, 50), QPoint(60, 50), QPoint(30, 1), QPoint(30, 96)})
        EXPECT_EQ(vista.pixel(r.topLeft() + p), marcador.pixel(p)) << p.x() << "," << p.y();
    };
    QImage vista = CapturaUsuarios(d);
    for (int n = 0; n < 10; ++n) comprobar(n, vista);
    // Three rows need scrolling; scrolled down, the last row comes into view.
    EXPECT_GT(d.sbImagenes->verticalScrollBar()->maximum(), 0);
    EXPECT_EQ(d.sbImagenes->horizontalScrollBar()->maximum(), 0);
    d.sbImagenes->verticalScrollBar()->setValue(d.sbImagenes->verticalScrollBar()->maximum());
    vista = CapturaUsuarios(d);
    for (int n = 10; n < 12; ++n) comprobar(n, vista);
    // The frame of a marked picture in the last row shows whole.
    ClickUsuario(d, 11);
    const QRect r = d.RectanguloUsuario(11);
    vista = Captura(d.sbImagenes->viewport());
    EXPECT_EQ(QColor(vista.pixel(r.center().x(), r.bottom() + 2)), QColor(Qt::yellow));
    Click(d.BitBtn2);
  });
}

TEST_F(ReversosTest, SoloSeDecodificanLasFilasALaVista) {
  CrearReversos(60);
  Abrir([&](TfrmReversos& d) {
    const int antes = ImagenesReversos().Decodificadas();
    CapturaUsuarios(d);
    // Three rows show, the third in part: fifteen pictures, not sixty.
    const int primeras = ImagenesReversos().Decodificadas() - antes;
    EXPECT_GE(primeras, 10);
    EXPECT_LE(primeras, 15);
    // Painted again, nothing is decoded twice.
    CapturaUsuarios(d);
    EXPECT_EQ(ImagenesReversos().Decodificadas() - antes, primeras);
    d.sbImagenes->verticalScrollBar()->setValue(d.sbImagenes->verticalScrollBar()->maximum());
    const QImage vista = CapturaUsuarios(d);
    EXPECT_LE(ImagenesReversos().Decodificadas() - antes, 2 * primeras);
    const QRect ultima = d.RectanguloUsuario(59);
    EXPECT_EQ(QColor(vista.pixel(ultima.center())), colores.at(d.Modelo->Archivos()[59]));
    Click(d.BitBtn2);
  });
}

TEST_F(ReversosTest, UnArchivoRotoMuestraSuNombreEnElMarcador) {
  CrearReversos(2);
  Escribir(Carpeta / "Reversos" / "roto.jpg", "no es una imagen");
  Programa().ReversosUsuario = CargarReversosUsuario(Carpeta);
  const std::string roto = (Carpeta / "Reversos" / "roto.jpg").string();
  int fila = -1;
  for (std::size_t n = 0; n < Programa().ReversosUsuario.size(); ++n)
    if (Programa().ReversosUsuario[n].Archivo == roto) fila = static_cast<int>(n);
  ASSERT_GE(fila, 0);
  Abrir([&](TfrmReversos& d) {
    const QImage vista = CapturaUsuarios(d);
    EXPECT_TRUE(ImagenesReversos().Roto(roto));
    EXPECT_EQ(d.Modelo->data(d.Modelo->index(fila), Qt::ToolTipRole).toString().toStdString(), roto);
    const QRect r = d.RectanguloUsuario(fila);
    const QImage marcador = Imagen(DibujoReverso(4, 1.0));
    const QImage dibujo = vista.copy(r);
    // The placeholder's border and words as they are (its rounded corners show the
    // green); its lower part carries the name.
    int arribaDistintos = 0, abajoDistintos = 0;
    for (int y = 0; y < 98; ++y)
      for (int x = 0; x < 62; ++x)
        if (qAlpha(marcador.pixel(x, y)) == 255 && dibujo.pixel(x, y) != marcador.pixel(x, y))
          (y < 70 ? arribaDistintos : abajoDistintos)++;
    EXPECT_EQ(arribaDistintos, 0);
    EXPECT_GT(abajoDistintos, 20);
    // A good picture beside it shows no name.
    const int buena = fila == 0 ? 1 : 0;
    EXPECT_EQ(QColor(vista.pixel(d.RectanguloUsuario(buena).center())),
              colores.at(d.Modelo->Archivos()[static_cast<std::size_t>(buena)]));
    // It can still be chosen, as a back that shows the placeholder.
    ClickUsuario(d, fila);
    Click(d.bbtnAceptar);
  });
  EXPECT_EQ(ReversoActual(), roto);
  EXPECT_EQ(Imagen(DibujoReversoActual(1.0)), Imagen(DibujoReverso(4, 1.0)));
}

TEST_F(ReversosTest, SinCarpetaLaCajaQuedaVaciaYDosFilasNoDesplazan) {
  Abrir([&](TfrmReversos& d) {
    EXPECT_EQ(d.Modelo->rowCount(), 0);
    EXPECT_EQ(d.MarcadaUsuario(), -1);
    Click(d.BitBtn2);
  });
  // A list loaded again (a new main window) is placed anew in the same chooser.
  CrearReversos(7);
  Abrir([&](TfrmReversos& d) {
    ASSERT_EQ(d.Modelo->rowCount(), 7);
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
      ASSERT_EQ(d.Modelo->rowCount(), 6);
      EXPECT_EQ(d.RectanguloUsuario(5).topLeft() + QPoint(0, d.sbImagenes->verticalScrollBar()->value()),
                QPoint(10, 117));
      if (caso.Predisennado >= 0)
        ExpectMarco(d.Shape1, d.Imagenes[static_cast<std::size_t>(caso.Predisennado)]);
      else
        EXPECT_FALSE(d.Shape1->isVisible());
      EXPECT_EQ(d.MarcadaUsuario(), caso.Usuario);
      if (caso.Usuario >= 0) ExpectMarcoUsuario(d, caso.Usuario);
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

  // A user back: its file's colour inside the placeholder's border on every face-down
  // card, once the worker has it; the table repaints by itself when it arrives.
  const std::string archivo = Programa().ReversosUsuario[0].Archivo;
  EnElDialogo([&] { juego->tbReversos->trigger(); },
              [&](TfrmReversos& d) {
                ExpectMarco(d.Shape1, d.Imagenes[2]);
                ClickUsuario(d, 0);
                Click(d.bbtnAceptar);
              });
  EXPECT_EQ(ReversoActual(), archivo);
  Captura(t);
  Esperar();
  const QImage usuario = Captura(t);
  const QImage compuesto = Imagen(DibujoReversoActual(tam, 1.0));
  const TCuenta propio = CompararCartas(t, usuario, juego->mesa, false,
                                        [&](const TCarta&) { return compuesto; });
  EXPECT_GT(propio.Iguales, 200);
  EXPECT_EQ(propio.Distintos, 0);
  EXPECT_EQ(QColor(usuario.pixel(centro)), colores.at(archivo));
  EXPECT_EQ(CompararCartas(t, usuario, juego->mesa, true, cara).Distintos, 0);
}

TEST_F(ReversosTest, LaMesaMuestraElMarcadorHastaQueLlegaLaImagenYSeRepintaSola) {
  CrearReversos(1);
  // A picture of its own for this test, so that nothing has decoded it yet.
  const fs::path archivo = Carpeta / "Reversos" / "tarde.bmp";
  QImage img(300, 200, QImage::Format_RGB32);
  img.fill(QColor(10, 200, 250));
  ASSERT_TRUE(img.save(QString::fromStdString(archivo.string()), "BMP"));
  Programa().ReversosUsuario = CargarReversosUsuario(Carpeta);
  Programa().Configuracion.PonerReversoActual(archivo.string());
  // Asking never decodes on this thread: the placeholder comes back at once.
  EXPECT_EQ(Imagen(DibujoReversoActual(1.0)), Imagen(DibujoReverso(4, 1.0)));
  juego = std::make_unique<TfrmJuego>();
  juego->Jugar(PrepararSolitarioDeLosSieteMontones, 3);
  juego->show();
  ASSERT_TRUE(QTest::qWaitForWindowExposed(juego.get()));
  ASSERT_TRUE(ImagenesReversos().Esperar(20000));
  // The arrival alone repaints the table: no other event is sent to it.
  for (int k = 0; k < 5; ++k) QCoreApplication::processEvents();
  const QImage mesa = Captura(juego->Tapete);
  const TCarta* tope = juego->mesa.Mazo->TopeMazo;
  ASSERT_NE(tope, nullptr);
  EXPECT_EQ(QColor(mesa.pixel(juego->Tapete->Rectangulo(*tope).center())), QColor(10, 200, 250));
  // At twice the pixels the picture is made at that size, not scaled up.
  const QSize doble(2 * kAnchoCarta, 2 * kAltoCarta);
  DibujoReversoActual(2.0);
  ASSERT_TRUE(ImagenesReversos().Esperar(20000));
  const QPixmap nitido = DibujoReversoActual(2.0);
  EXPECT_EQ(nitido.size(), doble);
  EXPECT_EQ(nitido.devicePixelRatio(), 2.0);
  EXPECT_EQ(QColor(nitido.toImage().pixel(62, 98)), QColor(10, 200, 250));
}

TEST_F(ReversosTest, CancelarNoCambiaNadaNiAhoraNiDespues) {
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
                ClickUsuario(d, 0);
                Click(d.Imagenes[3]);
                QTest::keyClick(&d, Qt::Key_Escape);
              });
  EXPECT_EQ(ReversoActual(), "k58203361Defecto1");
  EXPECT_EQ(Captura(juego->Tapete), antes);

  // The next opening marks the current back, and Aceptar keeps what it shows: the
  // cancelled click is not applied.
  EnElDialogo([&] { juego->tbReversos->trigger(); },
              [&](TfrmReversos& d) {
                ExpectMarco(d.Shape1, d.Imagenes[0]);
                EXPECT_TRUE(d.ReversoPendiente.empty());
                Click(d.bbtnAceptar);
              });
  EXPECT_EQ(ReversoActual(), "k58203361Defecto1");
  EXPECT_EQ(Captura(juego->Tapete), antes);
}

TEST_F(ReversosTest, VolverAlDialogoConservaElClickQueAceptarAplica) {
  CrearReversos(3);
  Abrir([&](TfrmReversos& d) {
    // Back from another window (the help viewer): the clicked back stays framed, and it
    // is what Aceptar stores.
    Click(d.Imagenes[2]);
    QEvent activacion(QEvent::WindowActivate);
    QCoreApplication::sendEvent(&d, &activacion);
    ExpectMarco(d.Shape1, d.Imagenes[2]);
    ClickUsuario(d, 2);
    QCoreApplication::sendEvent(&d, &activacion);
    ExpectMarcoUsuario(d, 2);
    Click(d.bbtnAceptar);
  });
  EXPECT_EQ(ReversoActual(), Programa().ReversosUsuario[2].Archivo);
}

TEST_F(ReversosTest, AceptarSinHaberElegidoDejaElReversoActual) {
  CrearReversos(2);
  const std::string archivo = Programa().ReversosUsuario[1].Archivo;
  principal = std::make_unique<TfrmPrincipal>();
  // Made when first opened, not with the main window.
  EXPECT_TRUE(Programa().frmReversos.isNull());
  Programa().Configuracion.PonerReversoActual(archivo);
  EnElDialogo([&] { principal->tbReversos->trigger(); },
              [&](TfrmReversos& d) {
                EXPECT_TRUE(d.ReversoPendiente.empty());
                ExpectMarcoUsuario(d, 1);
                QTest::keyClick(&d, Qt::Key_Return);
              });
  EXPECT_EQ(ReversoActual(), archivo);
  // Kept for the rest of the run.
  TfrmReversos* primero = Programa().frmReversos;
  ASSERT_NE(primero, nullptr);
  EnElDialogo([&] { principal->tbReversos->trigger(); }, [&](TfrmReversos& d) { d.reject(); });
  EXPECT_EQ(Programa().frmReversos.data(), primero);
}

TEST_F(ReversosTest, LaEleccionVuelveConElArchivoDeConfiguracion) {
  CrearReversos(7);
  principal = std::make_unique<TfrmPrincipal>();
  ASSERT_EQ(Programa().ReversosUsuario.size(), 7u);
  const std::string septimo = Programa().ReversosUsuario[6].Archivo;
  EnElDialogo([&] { principal->tbReversos->trigger(); },
              [&](TfrmReversos& d) {
                ClickUsuario(d, 6);
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
                ExpectMarcoUsuario(d, 6);
                Click(d.BitBtn2);
              });
  DibujoReversoActual(1.0);
  ASSERT_TRUE(ImagenesReversos().Esperar(20000));
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

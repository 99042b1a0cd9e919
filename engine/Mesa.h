#pragma once
// The table: every group, pile, card and the stock of the running deal, the rule hooks,
// the history and what the game window shows of it (panels, buttons, counters).
// Nothing here knows a particular game or the toolkit.
#include <array>
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "engine/Carta.h"
#include "engine/Grupo.h"
#include "engine/Historial.h"
#include "engine/Paneles.h"
#include "engine/Pila.h"
#include "engine/Ventana.h"
#include "play/Generador.h"

class TMesa;

using TReglaGlobal = bool (*)(TCarta& carta, TPila& pila);
using TVerificarFin = void (*)(TMesa& mesa);
using TPrepararJuego = void (*)(TMesa& mesa, std::int32_t Numero);

// Module state of the running game (its groups, its own counters), replaced by the next
// setup.
struct TEstadoJuego {
  virtual ~TEstadoJuego() = default;
};

// The shuffled deck while CrearMazo runs: entry 0 ends at the bottom of the stock.
struct TEntradaBaraja {
  std::uint8_t Palo;
  std::uint8_t Numero;
};
using TBaraja = std::array<TEntradaBaraja, 40>;

enum class TBoton : std::uint8_t { Izquierdo, Derecho };

bool ApilarPorReglas(TCarta& carta, TPila& pila);
bool OcuparPorReglas(TCarta& carta, TPila& pila);
bool FundarPorReglas(TCarta& carta, TPila& pila);
bool ReglaAdmite(const std::vector<TRegla>& reglas, const TCarta& carta, const TPila& pila);
bool RangoCiclico(int a, int b, int Paso, const TGrupo& grupo);
bool TramoValido(const TCarta& carta, const TPila& destino);
bool CabeEnPila(const TCarta& carta, const TPila& destino);
bool AceptaOrigen(const TGrupo* origen, const TGrupo& destino);
int LargoTramo(const TCarta& carta);
void MostrarDescarte(TPila& pila);

class TMesa {
 public:
  explicit TMesa(int anchoPantalla = 1024, int altoPantalla = 768);
  ~TMesa();
  TMesa(const TMesa&) = delete;
  TMesa& operator=(const TMesa&) = delete;

  // --- Builder operations -------------------------------------------------------
  void IniciarJuego(std::int32_t NroJuego, const std::string& Nombre);
  TGrupo* CrearGrupo(const std::string& Nombre, std::int8_t DespX, std::int8_t DespY,
                     std::uint8_t Capacidad, bool CicloArriba, bool CicloAbajo,
                     bool VariasCartas, bool TramoLibre);
  void AgregarReglaApilado(TGrupo* grupo, std::uint8_t Relacion, std::int8_t Paso);
  void AgregarReglaVacia(TGrupo* grupo, std::uint8_t Relacion, std::int8_t Paso);
  void DefinirFundacion(TGrupo* grupo, std::uint8_t Palo, std::uint8_t Numero, TPila* pila);
  void AgregarOrigen(TGrupo* destino, TGrupo* origen);
  void QuitarOrigen(TGrupo* destino, TGrupo* origen);
  TPila* CrearPila(TGrupo* grupo, std::int16_t X, std::int16_t Y);  // TPila.Create
  TPila* AgregarPila(TGrupo* grupo, TPila* pila);
  // CrearPila and AgregarPila in one: the pile a setup places and fills.
  TPila* PonerPila(TGrupo* grupo, std::int16_t X, std::int16_t Y) {
    return AgregarPila(grupo, CrearPila(grupo, X, Y));
  }
  static std::uint8_t CartasEnGrupo(const TGrupo* grupo);
  void AgregarDestinoMazo(TPila* pila, std::uint8_t Cantidad);
  // The deal: play/Reparto.cpp.
  void CrearMazo(int X, int Y, bool Visible, std::int8_t Reutilizaciones);
  void RepartirCartas(TPila* pila, std::uint8_t Cantidad, bool BocaAbajo);
  void SacarCarta(std::uint8_t Numero, std::uint8_t Palo, TPila* pila);
  TBaraja Barajar();
  // The setup's last step: counters and clock start afresh.
  void OcultarCargando();
  void PonerTitulo(const std::string& titulo);

  template <class T>
  T& NuevoEstado() {
    auto estado = std::make_unique<T>();
    T& ref = *estado;
    EstadoJuego = std::move(estado);
    return ref;
  }
  template <class T>
  T& Estado() {
    return static_cast<T&>(*EstadoJuego);
  }

  // --- Entry points of the window -------------------------------------------------
  // Drag-over decisions.
  bool ArrastrarSobrePila(TPila& pila, TCarta& carta, int X, int Y,
                          TEstadoArrastre estado = TEstadoArrastre::Moviendo);
  bool ArrastrarSobreCarta(TCarta& destino, TCarta& carta, int X, int Y,
                           TEstadoArrastre estado = TEstadoArrastre::Moviendo);
  // Drops, delivered only where the last drag-over accepted.
  void SoltarEnPila(TPila& pila, TCarta& carta, int X, int Y);
  void SoltarEnCarta(TCarta& destino, TCarta& carta, int X, int Y);
  // True when the press starts a drag of the card.
  bool PresionarCarta(const TCarta& carta, TBoton boton) const;
  void SoltarBotonCarta(TCarta& carta, TBoton boton, bool arrastrando);
  void ClickCarta(TCarta& carta);
  void ClickMazo();
  bool MoverAutomatico(TCarta& carta);
  // History.
  void RegistrarJugada(TCarta* carta, TPila* desde, TPila* hacia);
  void AgregarTraslado(TCarta* carta, TPila* desde, TPila* hacia);
  void Deshacer();
  // The newest action alone, joined or not: what one "d" of the step log takes back.
  void DeshacerUna();
  // Joins the newest action to the one before it, so that undo takes both back and redo
  // brings both again; the step that made it is noted in PasosUnidos.
  void UnirConAnterior();
  void TomarInstantanea();
  void VolverAInstantanea();
  // Undo everything and start counting afresh (the window restarts its clock).
  void Reiniciar();
  // The 1 ms win-check timer fired.
  void VerificarFinAhora();
  // A counted minute of play.
  void ContarMinuto();
  void JuegoGanado();
  // Releases the whole table of the running deal.
  void LiberarMesa();

  // --- Card and stock faces -------------------------------------------------------
  void PonerBocaArriba(TCarta& carta);
  void PonerBocaAbajo(TCarta& carta);
  void TraerAlFrente(TControl& control) { control.Orden = ++ContadorOrden; }
  int Escalar(std::int16_t v) const;
  void ReutilizarDescarte();
  void ActualizarPuntos();
  void EscribirReutilizaciones();
  std::string TextoPuntos() const;

  // --- State ----------------------------------------------------------------------
  std::vector<TGrupo*> Grupos;  // newest first
  std::vector<std::unique_ptr<TPila>> Pilas;  // creation order; pile n is Pilas[n-1]
  std::vector<std::unique_ptr<TCarta>> Cartas;
  std::unique_ptr<TMazo> Mazo;

  TReglaGlobal PuedeApilar = ApilarPorReglas;
  TReglaGlobal PuedeOcuparVacia = OcuparPorReglas;
  TReglaGlobal PuedeFundar = FundarPorReglas;
  TVerificarFin VerificarFin = nullptr;
  std::unique_ptr<TEstadoJuego> EstadoJuego;

  TJugada* Historial = nullptr;
  TJugada* JugadaMasAntigua = nullptr;
  TJugada* Instantanea = nullptr;

  std::uint16_t Movimientos = 0;
  std::uint16_t Minutos = 0;
  TPaneles Paneles;
  bool DeshacerHabilitado = false;
  bool VolverHabilitado = false;
  bool FinJuegoArmado = false;

  int AnchoPantalla;
  int AltoPantalla;
  float EscalaPantalla;

  std::string NombreJuego;
  std::int32_t NumeroJuego = 0;
  bool JuegoTerminado = false;
  std::int16_t ContextoAyuda = 0;
  TPrepararJuego ProcPreparar = nullptr;

  TGenerador Generador;
  TVentana* Ventana = nullptr;  // may be none: then VentanaPropia serves
  TVentana VentanaPropia;

  std::uint64_t ContadorOrden = 0;

  // A private table the solver drives: it keeps no history, writes no step log and formats
  // no points panel, since the solver restores positions by its own snapshots, keeps its
  // own line and never shows them.
  bool SinRegistro = false;

  TVentana& VentanaActual() { return Ventana ? *Ventana : VentanaPropia; }

  // The player's actions since the deal in the table tool's step language ("3.2>5", "a7",
  // "m", "d", "i", "v", "r"), written by the entry points above: the deal's number and
  // these steps rebuild the table.
  std::vector<std::string> Pasos;
  // Indexes into Pasos, increasing: the steps whose newest action was joined to the one
  // before it. The log alone replays without them; with them, undo and redo as the game did.
  std::vector<std::size_t> PasosUnidos;
  // An aid of the program moved cards in this deal.
  bool AyudaUsada = false;

  // What undo took back and redo may repeat: the undone steps, newest undone last, each
  // with the history's depth it starts from. A new action forgets them.
  struct TPorRehacer {
    std::string Paso;
    int Profundidad;
    bool ConAnterior = false;  // redone together with the step undone before it
    bool operator==(const TPorRehacer&) const = default;
  };
  std::vector<TPorRehacer> PorRehacer;
  int ProfundidadHistorial() const { return Historial ? Historial->Profundidad : 0; }
  // The newest undone step starts where the history now ends.
  bool PuedeRehacer() const {
    return !PorRehacer.empty() && PorRehacer.back().Profundidad == ProfundidadHistorial();
  }

 private:
  friend class TAnotarPaso;
  int entradas_ = 0;  // entry points running
  std::vector<std::unique_ptr<TGrupo>> gruposPropios_;
  std::vector<std::unique_ptr<TJugada>> jugadas_;  // kept until teardown, undone ones too
  void liberarGruposYPilas();
  void liberarHistorial();
};

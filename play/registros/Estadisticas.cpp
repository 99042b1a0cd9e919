#include "play/registros/Estadisticas.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>

#include <algorithm>
#include <cmath>

#include "play/Archivos.h"

namespace {

constexpr std::size_t kMaximoArchivo = 1024 * 1024;

std::optional<double> Entero(const QJsonValue& v, double maximo) {
  if (!v.isDouble()) return std::nullopt;
  const double d = v.toDouble();
  if (!std::isfinite(d) || d != std::floor(d) || d < 0 || d > maximo) return std::nullopt;
  return d;
}

void Menor(std::optional<std::uint16_t>& campo, std::uint16_t v) {
  if (!campo || v < *campo) campo = v;
}

const QString kJugados = QStringLiteral("jugados");
const QString kGanados = QStringLiteral("ganados");
const QString kRacha = QStringLiteral("rachaActual");
const QString kRachaMaxima = QStringLiteral("rachaMaxima");
const QString kPuntos = QStringLiteral("mejoresPuntos");
const QString kMovimientos = QStringLiteral("menosMovimientos");
const QString kTiempo = QStringLiteral("menorTiempo");
const QString kUltimos = QStringLiteral("ultimosPuntos");

std::optional<TEstadisticaJuego> LeerJuego(const QJsonValue& valor) {
  if (!valor.isObject()) return std::nullopt;
  const QJsonObject o = valor.toObject();
  constexpr double k32 = 4294967295.0;
  const auto jugados = Entero(o.value(kJugados), k32);
  const auto ganados = Entero(o.value(kGanados), k32);
  const auto racha = Entero(o.value(kRacha), k32);
  const auto maxima = Entero(o.value(kRachaMaxima), k32);
  if (!jugados || !ganados || !racha || !maxima) return std::nullopt;
  TEstadisticaJuego e;
  e.Jugados = static_cast<std::uint32_t>(*jugados);
  e.Ganados = static_cast<std::uint32_t>(*ganados);
  e.RachaActual = static_cast<std::uint32_t>(*racha);
  e.RachaMaxima = static_cast<std::uint32_t>(*maxima);
  // Figures that contradict each other are not the player's.
  if (e.Ganados > e.Jugados || e.RachaActual > e.RachaMaxima || e.RachaMaxima > e.Ganados)
    return std::nullopt;
  auto opcional = [&](const QString& nombre, std::optional<std::uint16_t>& campo) {
    const QJsonValue v = o.value(nombre);
    if (v.isUndefined() || v.isNull()) return true;
    const auto d = Entero(v, 65535);
    if (d) campo = static_cast<std::uint16_t>(*d);
    return d.has_value();
  };
  if (!opcional(kPuntos, e.MejoresPuntos) || !opcional(kMovimientos, e.MenosMovimientos) ||
      !opcional(kTiempo, e.MenorTiempo))
    return std::nullopt;
  const QJsonValue ultimos = o.value(kUltimos);
  if (ultimos.isArray()) {
    const QJsonArray lista = ultimos.toArray();
    if (static_cast<std::size_t>(lista.size()) > kUltimosGanados) return std::nullopt;
    for (const QJsonValue& v : lista) {
      const auto d = Entero(v, 65535);
      if (!d) return std::nullopt;
      e.UltimosPuntos.push_back(static_cast<std::uint16_t>(*d));
    }
  } else if (!ultimos.isUndefined()) {
    return std::nullopt;
  }
  return e;
}

}  // namespace

std::optional<int> PorcentajeGanados(const TEstadisticaJuego& e) {
  if (e.Jugados == 0) return std::nullopt;
  return static_cast<int>(static_cast<std::uint64_t>(e.Ganados) * 100 / e.Jugados);
}

void ContarJugado(TEstadisticaJuego& e) { ++e.Jugados; }

void ContarGanado(TEstadisticaJuego& e, bool yaContado, std::uint16_t puntos,
                  std::uint16_t movimientos, std::uint16_t minutos) {
  if (!yaContado) ++e.Jugados;
  ++e.Ganados;
  ++e.RachaActual;
  e.RachaMaxima = std::max(e.RachaMaxima, e.RachaActual);
  Menor(e.MejoresPuntos, puntos);
  Menor(e.MenosMovimientos, movimientos);
  Menor(e.MenorTiempo, minutos);
  e.UltimosPuntos.push_back(puntos);
  if (e.UltimosPuntos.size() > kUltimosGanados)
    e.UltimosPuntos.erase(e.UltimosPuntos.begin(),
                          e.UltimosPuntos.end() - static_cast<std::ptrdiff_t>(kUltimosGanados));
}

void ContarAbandono(TEstadisticaJuego& e) { e.RachaActual = 0; }

std::string EstadisticasEnJson(const TEstadisticas& estadisticas) {
  QJsonObject juegos;
  for (const auto& [clave, e] : estadisticas) {
    QJsonObject o{{kJugados, static_cast<double>(e.Jugados)},
                  {kGanados, static_cast<double>(e.Ganados)},
                  {kRacha, static_cast<double>(e.RachaActual)},
                  {kRachaMaxima, static_cast<double>(e.RachaMaxima)}};
    if (e.MejoresPuntos) o.insert(kPuntos, *e.MejoresPuntos);
    if (e.MenosMovimientos) o.insert(kMovimientos, *e.MenosMovimientos);
    if (e.MenorTiempo) o.insert(kTiempo, *e.MenorTiempo);
    QJsonArray ultimos;
    for (std::uint16_t p : e.UltimosPuntos) ultimos.append(p);
    o.insert(kUltimos, ultimos);
    juegos.insert(QString::fromStdString(clave), o);
  }
  const QJsonObject raiz{{QStringLiteral("version"), VersionEstadisticas},
                         {QStringLiteral("juegos"), juegos}};
  return QJsonDocument(raiz).toJson(QJsonDocument::Indented).toStdString();
}

TEstadisticas LeerEstadisticasJson(std::string_view datos) {
  TEstadisticas r;
  if (datos.size() > kMaximoArchivo) return r;
  QJsonParseError error{};
  const QJsonDocument doc = QJsonDocument::fromJson(
      QByteArray(datos.data(), static_cast<qsizetype>(datos.size())), &error);
  if (error.error != QJsonParseError::NoError || !doc.isObject()) return r;
  const QJsonObject raiz = doc.object();
  const QJsonValue version = raiz.value(QStringLiteral("version"));
  if (!version.isDouble() || version.toDouble() != VersionEstadisticas) return r;
  const QJsonValue juegos = raiz.value(QStringLiteral("juegos"));
  if (!juegos.isObject()) return r;
  const QJsonObject o = juegos.toObject();
  for (auto it = o.begin(); it != o.end(); ++it)
    if (auto e = LeerJuego(it.value()); e && !it.key().isEmpty())
      r.emplace(it.key().toStdString(), std::move(*e));
  return r;
}

TEstadisticas LeerEstadisticas(const std::filesystem::path& carpeta) {
  const auto datos = LeerArchivo(carpeta / ArchivoEstadisticas, kMaximoArchivo + 1);
  return datos ? LeerEstadisticasJson(*datos) : TEstadisticas{};
}

bool GuardarEstadisticas(const std::filesystem::path& carpeta, const TEstadisticas& e) {
  return EscribirArchivoAtomico(carpeta / ArchivoEstadisticas, EstadisticasEnJson(e));
}

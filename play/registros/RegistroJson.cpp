#include "play/registros/RegistroJson.h"

#include <QJsonDocument>

#include <cmath>

#include "play/Archivos.h"

namespace {
const QString kVersion = QStringLiteral("version");
}

std::optional<double> EnteroJson(const QJsonValue& v, double minimo, double maximo) {
  if (!v.isDouble()) return std::nullopt;
  const double d = v.toDouble();
  if (!std::isfinite(d) || d != std::floor(d) || d < minimo || d > maximo) return std::nullopt;
  return d;
}

std::optional<TRegistroLeido> AbrirRegistroJson(std::string_view datos,
                                                const TFormatoRegistro& formato) {
  if (datos.size() > formato.MaximoBytes) return std::nullopt;
  QJsonParseError error{};
  const QJsonDocument doc = QJsonDocument::fromJson(
      QByteArray(datos.data(), static_cast<qsizetype>(datos.size())), &error);
  if (error.error != QJsonParseError::NoError || !doc.isObject()) return std::nullopt;
  const QJsonObject raiz = doc.object();
  const auto version = EnteroJson(raiz.value(kVersion), formato.VersionMinima, formato.Version);
  const QJsonValue entradas = raiz.value(formato.Entradas);
  if (!version || !entradas.isObject()) return std::nullopt;
  return TRegistroLeido{static_cast<int>(*version), entradas.toObject()};
}

std::string LeerArchivoRegistro(const std::filesystem::path& carpeta,
                                const TFormatoRegistro& formato) {
  // One byte over the limit, so that a file too big is seen as such.
  return LeerArchivo(carpeta / formato.Archivo, formato.MaximoBytes + 1).value_or(std::string());
}

std::string RegistroEnJson(const TFormatoRegistro& formato, const QJsonObject& entradas) {
  const QJsonObject raiz{{kVersion, formato.Version}, {formato.Entradas, entradas}};
  return QJsonDocument(raiz).toJson(QJsonDocument::Indented).toStdString();
}

bool GuardarRegistro(const std::filesystem::path& carpeta, const TFormatoRegistro& formato,
                     const QJsonObject& entradas) {
  return EscribirArchivoAtomico(carpeta / formato.Archivo, RegistroEnJson(formato, entradas));
}

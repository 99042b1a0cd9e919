// What the desktop test needs from the X server besides xdotool's input: the close box of
// a window manager (the test's server has none), and a fingerprint of a window's pixels.
//   cartoval_ventana_x cerrar <ventana>             asks the window to close
//   cartoval_ventana_x huella <ventana> x y ancho alto   prints a hash of that rectangle
#include <xcb/xcb.h>

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>

namespace {

xcb_atom_t Atomo(xcb_connection_t* c, const char* nombre) {
  auto* r = xcb_intern_atom_reply(c, xcb_intern_atom(c, 0, static_cast<std::uint16_t>(std::strlen(nombre)), nombre),
                                  nullptr);
  const xcb_atom_t a = r ? r->atom : static_cast<xcb_atom_t>(XCB_ATOM_NONE);
  std::free(r);
  return a;
}

// WM_DELETE_WINDOW, as a window manager sends it when its close box is clicked.
bool Cerrar(xcb_connection_t* c, xcb_window_t ventana) {
  xcb_client_message_event_t e{};
  e.response_type = XCB_CLIENT_MESSAGE;
  e.format = 32;
  e.window = ventana;
  e.type = Atomo(c, "WM_PROTOCOLS");
  e.data.data32[0] = Atomo(c, "WM_DELETE_WINDOW");
  e.data.data32[1] = XCB_CURRENT_TIME;
  xcb_generic_error_t* error = xcb_request_check(
      c, xcb_send_event_checked(c, 0, ventana, XCB_EVENT_MASK_NO_EVENT, reinterpret_cast<const char*>(&e)));
  std::free(error);
  return error == nullptr;
}

// FNV-1a over the rectangle's pixels.
bool Huella(xcb_connection_t* c, xcb_window_t ventana, const char* const* rect) {
  const auto x = static_cast<std::int16_t>(std::atoi(rect[0]));
  const auto y = static_cast<std::int16_t>(std::atoi(rect[1]));
  const auto ancho = static_cast<std::uint16_t>(std::atoi(rect[2]));
  const auto alto = static_cast<std::uint16_t>(std::atoi(rect[3]));
  auto* r = xcb_get_image_reply(
      c, xcb_get_image(c, XCB_IMAGE_FORMAT_Z_PIXMAP, ventana, x, y, ancho, alto, ~0u), nullptr);
  if (!r) return false;
  const std::uint8_t* p = xcb_get_image_data(r);
  std::uint64_t h = 1469598103934665603ull;
  for (int i = 0, n = xcb_get_image_data_length(r); i < n; ++i) h = (h ^ p[i]) * 1099511628211ull;
  std::free(r);
  std::printf("%016llx\n", static_cast<unsigned long long>(h));
  return true;
}

}  // namespace

int main(int argc, char* argv[]) {
  const std::string orden = argc > 2 ? argv[1] : "";
  if (!((orden == "cerrar" && argc == 3) || (orden == "huella" && argc == 7))) {
    std::fprintf(stderr, "uso: %s cerrar VENTANA | huella VENTANA X Y ANCHO ALTO\n", argv[0]);
    return 2;
  }
  xcb_connection_t* c = xcb_connect(nullptr, nullptr);
  if (xcb_connection_has_error(c)) {
    xcb_disconnect(c);
    return 1;
  }
  const auto ventana = static_cast<xcb_window_t>(std::strtoul(argv[2], nullptr, 0));
  const bool ok = orden == "cerrar" ? Cerrar(c, ventana) : Huella(c, ventana, argv + 3);
  xcb_flush(c);
  xcb_disconnect(c);
  return ok ? 0 : 1;
}

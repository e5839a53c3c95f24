// c_Kestrel: the automation class the host creates. It holds the export
// dialog and answers its events; the drawing and the CAD session live in
// the Module it was created on, shared by every c_Kestrel of that module.
// No method lets an error escape to the host except Mete_Pun and
// Mete_Entidades: errors are shown and recorded through ErrorLog.
#pragma once

#include <cstdint>
#include <memory>
#include <optional>
#include <string>

#include "core/numeric.h"
#include "core/object.h"
#include "core/trap.h"
#include "core/vb_array.h"
#include "export/export_state.h"
#include "export/f_acad.h"
#include "export/surface_colours.h"
#include "import/import_state.h"
#include "model/records.h"
#include "module/module.h"

namespace kestrel::bridge {

using core::VbArray;
using core::VbBool;

class c_Kestrel final : public exporting::FAcadEvents {
 public:
  // Creates the export dialog, loaded and hidden. An error doing so is
  // logged as "Inicializa " + source + " Error nº: " + description; the
  // object then has no dialog, and what needs it meets error 91.
  explicit c_Kestrel(Module& module);
  // Unloads the dialog; the module state stays.
  ~c_Kestrel() override;
  c_Kestrel(const c_Kestrel&) = delete;
  c_Kestrel& operator=(const c_Kestrel&) = delete;

  // --- CAD session ---------------------------------------------------------
  // True when the connected application answers its "Version" with more
  // than 3 characters; false on any error, silently.
  [[nodiscard]] bool Mira();
  // Connects to the CAD named by `Version` (attach, else start), sets the
  // session objects and `sigue` true when ready.
  void IniciaAutocad(VbBool& sigue, const std::string& Version = {}, VbBool* Comprueba = nullptr,
                     std::string* Nombre = nullptr, std::string* Vers = nullptr);
  // Asks the application for the true-colour object of the chosen version.
  void Color_True();
  // Shows the application and zooms to the drawing's extents.
  void A_Zoom_extension();

  // --- Loading the drawing ---------------------------------------------------
  // The points. Traps nothing: an error reaches the caller.
  void Mete_Pun(std::int32_t NuPun, const VbArray<double>& X1, const VbArray<double>& Y1, const VbArray<double>& z1,
                const VbArray<std::string>& Cd, const VbArray<std::string>& Nmb1, const VbArray<std::string>& infor,
                const VbArray<std::int16_t>& Capa);
  // Polylines, contours, layers and triangles. Traps nothing.
  void Mete_Entidades(std::int32_t NuPolis, const VbArray<model::t_Poli>& poli, const model::t_Curvado& tCurvado1,
                      std::int32_t nuCapas, const VbArray<model::t_Capa>& Capas1, std::int32_t Nutria,
                      const VbArray<std::int32_t>& B1, const VbArray<std::int32_t>& B2,
                      const VbArray<std::int32_t>& B3, std::int32_t colTrilat);
  // One whole drawing; also sets MsgVersion.
  void Mete_dibujo(const model::t_Dibujo& tp0);
  // A drawing set and the per-triangle colours; the set's current drawing
  // is loaded into the model.
  void Mete(const model::t_Datos& Dt1, const VbArray<std::int32_t>& VVc);
  [[nodiscard]] const VbArray<std::int32_t>& VVc() const noexcept { return VVc_; }

  // --- The export dialog --------------------------------------------------------
  // Shows the export dialog for the loaded drawing; refuses an empty model
  // and a CAD whose true-colour object cannot be had.
  void A_Show_Seleccion_datos1();
  // The older entry: the values passed are not used.
  void A_Show_Seleccion_datos(std::int32_t& chkPutos, std::int32_t& chkN, std::int32_t& chkNombr,
                              std::int32_t& chkCotas, std::int32_t& chkC, std::int32_t& chkPoli,
                              std::int32_t& chkTriang, std::int32_t& chkCurvado, std::int32_t& chkReja);

  // --- Generators ---------------------------------------------------------------
  // The points of the model, on their layers, with progress and cancel.
  void Autocad_Genera_Puntos();
  // The point labels with fixed offsets (first variant).
  void Autocad_Genera_Textos0(double& AlturaR);
  // The point labels at the positions chosen in the preferences.
  void Autocad_Genera_Textos(double& AlturaR);

  // The labels with their styles, leaders and arrowheads; with Bloq, into
  // the block being defined.
  void Autocad_Genera_Rotulos(VbBool* Bloq = nullptr);

  // The labels into the block being defined.
  void Autocad_Genera_Rotulos_Bloques();
  // The stored drawings that block-reference points name, defined once as
  // blocks and inserted at those points (export/blocks.h).
  void Autocad_crea_Bloques();
  void Autocad_genera_Bloques();

  // Polylines, arcs and circles; with EnBloque, into the block being defined.
  void Autocad_Genera_Polilineas(VbBool& EnBloque);
  // Hatches the closed CAD polyline `Poly` with the pattern of code `t`.
  void Ch4_CreateHatch(const core::Obj& Poly, std::int16_t& t, std::string& Cp, VbBool& Bloq,
                       std::int32_t* Color1 = nullptr, VbBool* Solido = nullptr);
  // Draws polyline nPol of the model in 3D with its raw coordinates.
  void Pega_Polilinea(std::int32_t& nPol);
  // Draws a longitudinal profile at a point the user picks.
  void Dibuja_perfil(std::int32_t& Ptos, const VbArray<double>& Pk, const VbArray<double>& Ct);

  // --- The coloured surface (export/surface_colours.h) -----------------------
  // Takes over Vn1 coloured quads (lists 1..Vn1, else error 9 and nothing
  // changes); offers them in the dialog as "3D Curvado (MDT -" + Str(Vn1) +
  // ")" and "2D Curvado Sombreado a color (MDT -" + Str(Vn1) + ")", the
  // first chosen, chkTria disabled. Vn1 = 0 changes nothing.
  void A_Colores(std::int32_t& Vn1, const VbArray<std::int32_t>& Vc1, const VbArray<double>& Vx0,
                 const VbArray<double>& Vy0, const VbArray<double>& Vz0, const VbArray<double>& Vx1,
                 const VbArray<double>& Vy1, const VbArray<double>& Vz1, const VbArray<double>& Vx2,
                 const VbArray<double>& Vy2, const VbArray<double>& Vz2, const VbArray<double>& Vx3,
                 const VbArray<double>& Vy3, const VbArray<double>& Vz3, const core::Obj* Draw = nullptr);
  // Copies the per-triangle layer list and lets the triangulation honour it.
  void A_Color_Tri(const VbArray<std::int32_t>& ColorTr, const core::Obj* Draw = nullptr);
  // Gives the triangles inside closed polyline `poli` its layer.
  void Triang_int_Pol(std::int32_t poli);
  // Recomputes the per-triangle layers from the closed polylines.
  void Colores_TRI();
  [[nodiscard]] const exporting::SurfaceColours& surface() const noexcept { return surface_; }

  // --- Import from the CAD --------------------------------------------------------
  // Copies the model space of the active CAD drawing into the drawing model
  // and returns the import's drawing set holding it as its one drawing, with
  // progress on the host's form `Apli`. An empty model space sets `Salir`.
  // `ff` and `Bloques` are not read.
  [[nodiscard]] model::t_Datos Copia__Todo(const core::Obj& Apli, std::string& ff, VbBool& TodoC, VbBool& Salir,
                                           VbBool& Bloques);
  // Explodes the active CAD drawing, leaves only the layer "PUNTOS" on and
  // returns the drawing model with point elevations from nearby texts.
  // None of the arguments is read.
  [[nodiscard]] model::t_Dibujo Dexompon_Zombie(const core::Obj& Apli, std::string& ff, VbBool* TodoC = nullptr);
  // Reads one CAD entity into the drawing model (see importing::ENTIDADES).
  void ENTIDADES(core::Variant& Poly, VbBool* Blq = nullptr);
  // Counts one CAD entity in the census.
  void Entidades_ver(core::Variant& Poly);
  // The other imports and reports; see import/selection_copy.h,
  // import/blocks.h, import/documents.h and import/reports.h.
  void ListSelectionSets(core::Obj& SSet, std::int32_t& Num);
  [[nodiscard]] model::t_Datos Copia__Seleccion(const core::Obj& Apli, std::string& ff, VbBool& Salir);
  [[nodiscard]] model::t_Dibujo Copia_Pol(const core::Obj& Apli);
  [[nodiscard]] model::t_Datos Copia_Todo3(const core::Obj& Apli, std::string& TodoC, VbBool& Salir);
  [[nodiscard]] model::t_Datos Bloques_Saca(const core::Obj& Apli, VbBool& Sal, VbBool& Prop);
  void Atributos();
  [[nodiscard]] model::t_Datos Lee_Document(const core::Obj& Apli, VbBool& Salir);
  [[nodiscard]] model::t_Datos Lee_Documents(const core::Obj& Apli, VbBool& Salir);
  void Dibujo_Vacio(std::string& Cad, VbBool& Salir);
  void Analiza__Todo(const core::Obj& Apli, VbBool& Salir);
  [[nodiscard]] bool Propiedades_Cad_Ver(std::int32_t& Entid, std::int32_t& Bloques, std::int32_t& Capass);
  [[nodiscard]] bool Propiedades_Cad(const core::Obj& Apli, std::int32_t& Entid, std::int32_t& Bloques,
                                     std::int32_t& Capass, VbBool& NoBloques, std::int32_t* Ent = nullptr);

  // --- Colours ---------------------------------------------------------------
  // Splits a packed colour (red in the low byte) into red(), green(), blue().
  void LongToRGB(std::int32_t RGBval);

  // --- Kept for compatibility: they touch nothing and return at once ---------
  void Obten_objetos1(const core::Obj& Apli, std::int32_t& nVert, VbArray<double>& x, VbArray<double>& y,
                      VbArray<double>& z);
  [[nodiscard]] model::t_Datos Example_Documents(const core::Obj& Apli);
  [[nodiscard]] model::t_Dibujo Copia_Todo1(const core::Obj& Apli, std::int32_t& Ent);
  void Obten_objetos(const core::Obj& Apli, std::int32_t& nVert, VbArray<double>& x, VbArray<double>& y,
                     VbArray<double>& z, std::int32_t& nP, VbArray<double>& X1, VbArray<double>& Y1,
                     VbArray<double>& z1);
  [[nodiscard]] model::t_Dibujo Copia_Todo2(const core::Obj& Apli, std::string& ff, VbBool* TodoC = nullptr);
  void Bloques_descompon();

  // --- State read by the generators and by tests ----------------------------
  // The export dialog; error 91 when the initializer could not create it.
  [[nodiscard]] exporting::f_Acad& aCad() {
    if (!aCad_) core::raise(core::kObjectNotSet);
    return *aCad_;
  }
  [[nodiscard]] Module& module() { return module_; }
  [[nodiscard]] std::int16_t red() const noexcept { return red_; }
  [[nodiscard]] std::int16_t green() const noexcept { return green_; }
  [[nodiscard]] std::int16_t blue() const noexcept { return blue_; }
  [[nodiscard]] VbBool busy() const noexcept { return export_state_.Busy; }
  [[nodiscard]] const core::Obj& colour_object() const noexcept { return export_state_.ColorObject; }
  [[nodiscard]] const std::string& cad_short_name() const noexcept { return cad_short_name_; }
  [[nodiscard]] const std::string& version_label() const noexcept { return version_label_; }
  [[nodiscard]] const std::string& application_class() const noexcept { return application_class_; }
  [[nodiscard]] const exporting::ExportState& export_state() const noexcept { return export_state_; }
  // The census, the switched-off-layers option and the import's drawing set.
  [[nodiscard]] importing::ImportState& import_state() noexcept { return import_state_; }

  // Largest whole number not above current × 100 / total; error 6 when the
  // product overflows 32 bits, error 11 when total is 0.
  [[nodiscard]] static std::int32_t percentage(std::int32_t total, std::int32_t current);

  // --- Events of the export dialog -------------------------------------------
  void aCapasPrefijo(const std::string& PrefCap) override;
  void aCadCapas(std::int32_t CapAc) override;
  void aCad2D() override;
  void aCadPtos() override;
  void acadRotu1(double Altura) override;
  void aCadTria(bool Solido) override;
  void aCadTriaCurv(bool Solido) override;
  void aCadCurv() override;
  void aCadPoli() override;
  void acadText() override;
  void acadBloq() override;

 private:
  bool connect(bool silent);
  void count_block_references();
  void show_dialog();
  // Runs `generate` in the export context, under a trap that catches only
  // what the generator's own trap cannot: a dialog the initializer could not
  // create (error 91, logged as `routine` + " - Error    nº "), and an
  // out-of-memory error passed on to end the call.
  template <class F>
  void with_dialog(std::string_view routine, F&& generate) {
    const std::string prefix = std::string(routine) + " - Error    nº ";
    core::trap(module_.error_log, {prefix, ": "}, [&] {
      exporting::ExportContext ctx{module_, aCad(), export_state_};
      generate(ctx);
    });
  }
  // The product name is read again from the application's caption: the
  // session may have been opened before the drawing was bound.
  [[nodiscard]] importing::ImportContext import_context() {
    read_short_name();
    import_state_.NombreCad = cad_short_name_;
    return {module_, import_state_};
  }
  void bind_document(VbBool& sigue, bool silent, std::string* Nombre, std::string* Vers);
  void report_connected(bool silent, const std::string& version);
  void read_short_name();

  Module& module_;
  std::unique_ptr<exporting::f_Acad> aCad_;
  std::string cad_short_name_;
  VbArray<std::int32_t> VVc_;         // per-triangle colours given to Mete
  exporting::SurfaceColours surface_;  // coloured quads, per-triangle layers
  std::int16_t red_ = 0, green_ = 0, blue_ = 0;
  exporting::ExportState export_state_;  // CapAc, PrefCap, CapasCreadas, Solo2D
  importing::ImportState import_state_;  // census, CopiarDesactivadas, Datos
  std::string version_label_;
  std::string application_class_;
};

}  // namespace kestrel::bridge

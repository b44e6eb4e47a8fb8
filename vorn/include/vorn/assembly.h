// The one assembly of the departments: every session of the program, the
// benchmark and the whole-session tests gets its departments here.
//
// Each slot holds the department library that exists, or its stand-in
// (vorn/stand_ins.h) until it does. Once all exist, each department that
// calls others is handed its neighbours as a DepartmentLinks
// (production/departments.h): a pointer to the real department or to the
// stand-in. A department that lands replaces its stand-in in its make_*
// function of src/assembly.cpp and is linked into the target vorn_assembly.
// The windowed program passes its panel maker; headless callers pass none.
#pragma once
#include "app/view.h"

Departments assemble_departments(CVornView& view, const PanelMaker& panels);
// The same as a session factory, for SessionManager and the test driver.
DepartmentFactory department_assembly(PanelMaker panels = {});

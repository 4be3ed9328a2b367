#pragma once

// The warning shown when no MySQL ODBC driver was found; true when the operator continues.
bool confirmMissingOdbcDriver();

// Filled in by the module's work.
namespace didod {}

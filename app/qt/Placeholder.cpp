// placeholder so the front-end library has a source until the view lands
namespace vantrel::qt {}

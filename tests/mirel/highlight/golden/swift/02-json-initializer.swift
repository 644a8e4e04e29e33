import Foundation
import Sorbel

struct Unknown: SorbelModel {
  struct Owner: SorbelModel {
    let id: Int

    init(json: SorbelJSON) {
      id = json.id.int()
    }
  }

  enum Kind: String {
    case a = "x"
    case b
  }

  let id: Int
  let tags: [String]
  let owner: Owner
  let note: Any?
  let kind: Kind
  let userID: Int
  let array: [[String: Int]]?

  init(json: SorbelJSON) {
    id = json.id.int()
    tags = json.tags.array().map { $0.string() }
    owner = .decode(from: json.owner)
    note = <#TODO#>
    kind = .init(rawValue: json.kind.string()) ?? .a
    userID = json["userId"].int()
    array = <#TODO#>
  }
}

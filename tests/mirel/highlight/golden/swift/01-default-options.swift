import Foundation

struct Unknown: Codable {
  struct User: Codable {
    let name: String
  }

  let id: Int
  let user: User
  let tags: [String]
  let note: Any?
  let homepage: URL
  let createdAt: Date
  let userID: Int

  private enum CodingKeys: String, CodingKey {
    case id
    case user
    case tags
    case note
    case homepage
    case createdAt = "created_at"
    case userID = "user_id"
  }
}

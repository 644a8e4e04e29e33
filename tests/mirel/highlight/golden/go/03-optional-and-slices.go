package models

type Unknown struct {
  Items []struct {
    A int `json:"a"`
    B *string `json:"b,omitempty"`
    Grid [][]float64 `json:"grid"`
  } `json:"items"`
  Owners []*struct {
    Login string `json:"login"`
  } `json:"owners,omitempty"`
  Aliases []string `json:"aliases,omitempty"`
  Extra []interface{} `json:"extra"`
  AvatarURL URL `json:"avatar_url"`
}
